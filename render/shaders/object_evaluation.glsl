#version 400

// Three quarter-size spiked cubes on a turning ring of radius 1/3 at depth -1.5, each bouncing
// with its own phase and twisting by angles that depend on the vertex's own position.
layout(triangles, equal_spacing) in;

flat in int vInstanceID[];
in vec3 vNormal[];
in vec3 vColor[];

out vec3 teVertex[1];
out vec3 teNormal[1];
out vec3 teColor[1];

uniform float time;
uniform mat4 projection;

mat3 rx(float a) {
    return mat3(1.0, 0.0, 0.0, 0.0, cos(a), sin(a), 0.0, -sin(a), cos(a));
}

mat3 ry(float a) {
    return mat3(cos(a), 0.0, -sin(a), 0.0, 1.0, 0.0, sin(a), 0.0, cos(a));
}

mat3 rz(float a) {
    return mat3(cos(a), sin(a), 0.0, -sin(a), cos(a), 0.0, 0.0, 0.0, 1.0);
}

mat3 rotate(float x, float y, float z) {
    return rz(z) * ry(y) * rx(x);
}

mat3 scale(float x, float y, float z) {
    return mat3(x, 0.0, 0.0, 0.0, y, 0.0, 0.0, 0.0, z);
}

mat4 translate(float x, float y, float z) {
    return mat4(1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, x, y, z, 1.0);
}

float random(float x) {
    return fract(324732.0 * sin(432282.0 * x));
}

void main() {
    int i = vInstanceID[0];
    float t = time;
    vec3 c = vColor[0];
    vec4 v = gl_TessCoord.x * gl_in[0].gl_Position + gl_TessCoord.y * gl_in[1].gl_Position +
             gl_TessCoord.z * gl_in[2].gl_Position;

    // Instance 0 gets phase 0.
    float f = 4.0 * random(float(i));

    mat3 R = rotate(sin(1.5 * t + 1.1 + f + 0.2 * v.y) + sin(0.5 * t + f + 0.2 * v.y),
                    t + 0.1 * v.x,
                    sin(1.5 * t + f + 0.2 * v.z) * cos(1.5 * t + f + 0.3 * v.z));
    mat4 S = mat4(scale(0.25, 0.25, 0.25));
    // The ring angle's precision of pi is part of where the instances stand.
    mat3 R2 = ry(float(i) * 2.0 * 3.141593 / 3.0 + 1.5 * t);
    mat4 T = translate(1.0 / 3.0, 0.0, 0.0);
    mat4 T2 = translate(0.0, -0.5 + 0.75 * abs(sin(1.5 * t + f)), -1.5);

    mat4 M = T2 * mat4(R2) * T * mat4(R) * S;
    vec4 u = M * v;

    teVertex[0] = u.xyz;
    teNormal[0] = R2 * R * vNormal[0];
    gl_Position = projection * u;

    // White triangles keep their colour; the others take the instance's.
    if (c != vec3(1.0, 1.0, 1.0)) {
        if (i == 0) {
            c = vec3(0.5, 0.0, 0.2);
        } else if (i == 1) {
            c = vec3(0.5, 0.1, 0.4);
        } else if (i == 2) {
            c = vec3(0.2, 0.2, 0.6);
        }
    }
    teColor[0] = c;
}
