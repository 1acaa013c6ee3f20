#version 400

// The background: three quarters of a dark purple at the bottom row, fading to black at the top.
uniform vec2 res;

layout(location = 0) out vec4 color;

void main() {
    vec2 uv = gl_FragCoord.xy / res;
    color = vec4(mix(vec3(0.25, 0.0, 0.25), vec3(0.0, 0.0, 0.0), 0.75 * uv.y + 0.25), 1.0);
}
