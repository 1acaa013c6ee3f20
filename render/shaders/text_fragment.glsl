#version 400

// White text whose coverage is the glyph atlas's red channel.
in vec2 texCoord;

uniform float time;
uniform sampler2D tex;

layout(location = 0) out vec4 fragColor;

void main() {
    fragColor = vec4(1.0, 1.0, 1.0, texture(tex, texCoord).r);
}
