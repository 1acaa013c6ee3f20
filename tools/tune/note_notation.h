#pragma once

#include "xm/xm_writer.h"

#include <string_view>
#include <vector>

// The tune's patterns are written in a tracker's own notation, one channel at a time. A phrase
// is a list of rows separated by '|'; a row holds up to four fields separated by spaces, in
// the order a tracker shows them, and trailing fields may be left out:
//
//   note        C-4, C#4 (octaves 0..7), === for a key-off, --- for none
//   instrument  two hex digits, 01..0A, or ..
//   volume      two hex digits 00..40 set the volume; otherwise a command letter and a hex
//               digit: -y slide down, +y slide up, Dy fine down, Uy fine up, Sy vibrato speed,
//               Vy vibrato, Py panning, Ly slide left, Ry slide right, My tone portamento; ..
//   effect      the effect's digit or letter and two hex digits, as in A08 or E93; ...
//
// An empty row is written as nothing or '.', and '.N' stands for N empty rows, so
// "D-2 04 | .3 | D-3 04 40 | .3" is two notes a beat apart. Mistakes throw
// std::invalid_argument naming the row.
namespace omra::tools::tune {

using Phrase = std::vector<XmCell>;

Phrase phrase(std::string_view text);

} // namespace omra::tools::tune
