#pragma once
// Double-byte characters whose second byte looks like ASCII: the usual traps of
// Shift_JIS text. Kept as separate literals so that a hex escape never runs on
// into the next letter.
#include <string>

namespace vrk::sjis {

inline const std::string kHyo = "\x95\x5C";  // 表, second byte "\"
inline const std::string kSo = "\x83\x5C";   // ソ, second byte "\"
inline const std::string kPo = "\x83\x7C";   // ポ, second byte "|"
inline const std::string kA = "\x83\x41";    // ア, second byte "A"
inline const std::string kDi = "\x83\x61";   // ヂ, second byte "a"
inline const std::string kNo = "\x83\x6D";   // ノ, second byte "m"
inline const std::string kNen = "\x94\x4E";  // 年, second byte "N"

}  // namespace vrk::sjis
