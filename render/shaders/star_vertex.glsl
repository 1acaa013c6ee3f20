#version 400

// Each star drifts right at a speed equal to its size in pixels and wraps from 1.4 to -1.0.
layout(location = 0) in vec3 vertex;

uniform float time;

void main() {
    float x = mod(vertex.x + vertex.z * time, 2.4) - 1.0;
    gl_Position = vec4(x, vertex.y, 0.0, 1.0);
    gl_PointSize = vertex.z;
}
