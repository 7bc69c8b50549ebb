#pragma once
// Header texts of outgoing mail.
#include <string>
#include <string_view>

namespace vrk {

// The subject as encoded words "=?iso-2022-jp?B?...?=" of JIS that returns to
// ASCII. A subject whose JIS fits one word of at most 75 characters is one
// word (also plain ASCII); a longer one is cut between characters into such
// words, each a whole JIS text, joined by a folding line break ("\r\n ").
std::string encodeMailSubject_(std::string_view subject);

}  // namespace vrk
