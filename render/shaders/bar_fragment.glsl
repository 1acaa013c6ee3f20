#version 400

// The two thin bars: a purple-to-grey wave along x that runs right in the top bar and left in
// the bottom one.
uniform float time;
uniform vec2 res;

layout(location = 0) out vec4 color;

void main() {
    vec2 uv = 2.0 * gl_FragCoord.xy / res - 1.0;
    color = vec4(mix(vec3(0.5, 0.0, 0.5), vec3(0.5, 0.5, 0.5), abs(sin(sign(uv.y) * time + uv.x))),
                 1.0);
}
