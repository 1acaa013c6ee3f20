#version 400

uniform float time;

layout(location = 0) out vec4 color;

void main() {
    color = vec4(0.5, 0.5, 0.8, 1.0);
}
