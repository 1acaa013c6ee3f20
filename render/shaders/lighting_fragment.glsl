#version 400

// Ambient, diffuse and specular light from a light at the eye, in the space before projection.
in vec3 teVertex[1];
in vec3 teNormal[1];
in vec3 teColor[1];

uniform float alpha;

layout(location = 0) out vec4 color;

void main() {
    vec3 viewPos = vec3(0.0, 0.0, 1.0);
    vec3 lightPos = vec3(0.0, 0.0, 1.0);
    vec3 lightColor = vec3(1.0, 1.0, 1.0);
    float ambient = 0.2;

    vec3 n = normalize(teNormal[0]);
    vec3 l = normalize(lightPos - teVertex[0]);
    float diffuse = max(0.0, dot(n, l));
    vec3 view = normalize(viewPos - teVertex[0]);
    vec3 r = reflect(-l, n);
    // The 16th power by four squarings: the same highlight as pow(), without its exp2(log2()).
    float s1 = max(0.0, dot(view, r));
    float s2 = s1 * s1;
    float s4 = s2 * s2;
    float s8 = s4 * s4;
    float specular = 0.75 * (s8 * s8);

    color = vec4((ambient + diffuse + specular) * lightColor * teColor[0], alpha);
}
