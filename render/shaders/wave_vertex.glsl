#version 400

// Text pages lie on a sheet about 1.6 units in front of the camera that ripples in depth.
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 texcoord;

uniform vec2 res;
uniform float time;
uniform mat4 projection;

out vec2 texCoord;

void main() {
    vec2 v = 2.0 * position / res - 1.0;
    float z = sin(time + v.x + 2.0 * v.y) / 6.0 - 1.6;
    gl_Position = projection * vec4(v.x, v.y, z, 1.0);
    texCoord = texcoord;
}
