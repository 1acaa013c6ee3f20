#version 400

// A full-window quad given in clip space.
layout(location = 0) in vec2 vertex;

void main() {
    gl_Position = vec4(vertex.x, vertex.y, 0.0, 1.0);
}
