#pragma once
#include <string_view>

// The agreement between the game and the score service: addresses, the 32 symbols of the result
// code and the key letter every submission carries. Both sides include this one file.

namespace sf {

#ifdef SALTFANG_SCORE_URL
inline constexpr std::string_view kScoreServiceUrl = SALTFANG_SCORE_URL;
#else
inline constexpr std::string_view kScoreServiceUrl = "http://127.0.0.1:8765";
#endif

inline constexpr std::string_view kVersionQueryPath = "/cgi/version.pl?version&prg=Saltfang";
inline constexpr std::string_view kSubmissionPath = "/cgi/version.pl?hs&prg=Saltfang&inf=";
inline constexpr std::string_view kWorldHighScoresPath = "/cgi/version.pl?prg=Saltfang&show&type=0";

// Digits and upper-case letters without I, L, O and U, which are easily misread.
inline constexpr std::string_view kScoreAlphabet = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
static_assert(kScoreAlphabet.size() == 32);

inline constexpr char kScoreKeyLetter = 'F';

}  // namespace sf
