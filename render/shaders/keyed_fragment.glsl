#version 400

// Pure black is the key colour: fully transparent, everything else opaque. The texture's own
// alpha is ignored.
in vec2 texCoord;

uniform sampler2D tex;

layout(location = 0) out vec4 color;

void main() {
    vec4 c = texture(tex, texCoord);
    float keyed = c.rgb == vec3(0.0, 0.0, 0.0) ? 0.0 : 1.0;
    color = vec4(c.rgb, keyed);
}
