// The encodings of profile files: 8-bit files as they are, UTF-16 files (known by their
// byte-order mark) as 16-bit units, and the code page their text reaches callers in.
#pragma once

#include <string>

namespace platform {

// How the characters of a UTF-16 file reach callers as 8-bit text, and back: the system code
// page. kWestern keeps the first 256 code points one to one and gives "?" for the rest, as the
// Windows reader this one is checked against does; kUtf8 is the POSIX edition's code page.
enum class ProfileCodePage { kWestern, kUtf8 };

enum class ProfileEncoding { kBytes, kUtf16LittleEndian, kUtf16BigEndian };

ProfileEncoding ProfileEncodingOf(const std::string& text);

// The units after the byte-order mark; an odd last byte is no character.
std::u16string DecodeUtf16(const std::string& text, ProfileEncoding encoding);
// The units behind a byte-order mark.
std::string EncodeUtf16(const std::u16string& units, ProfileEncoding encoding);

// 8-bit text of the code page as UTF-16 units, and back.
std::u16string Widen(const std::string& text, ProfileCodePage codePage);
std::string Narrow(const std::u16string& units, ProfileCodePage codePage);

}  // namespace platform
