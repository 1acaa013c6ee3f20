#version 400

// Scan lines by window row, counted from the bottom: even rows at half brightness, odd rows
// unchanged.
in vec2 texCoord;

uniform sampler2D tex;

layout(location = 0) out vec4 color;

void main() {
    float f = (mod(gl_FragCoord.y - 0.5, 2.0) + 1.0) / 2.0;
    color = texture(tex, texCoord) * f;
}
