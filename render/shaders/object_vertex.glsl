#version 400

// Passes the spiked cube through to the evaluation stage, which places each instance.
layout(location = 0) in vec3 vertex;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec3 color;

flat out int vInstanceID;
out vec3 vNormal;
out vec3 vColor;

void main() {
    gl_Position = vec4(vertex, 1.0);
    vInstanceID = gl_InstanceID;
    vNormal = normal;
    vColor = color;
}
