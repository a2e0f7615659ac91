// Text into the program's code page: the system's ANSI code page on Windows, Windows-1252 in the host build.
#pragma once
#include <string>

// One Unicode character in the code page, appended to out: false (out unchanged) when the code page has
// no such character or it is no character at all (a surrogate, beyond U+10FFFF). No best fit: a
// character is there or it is not.
bool AppendCodePageCharacter(unsigned long character, std::string &out);
// UTF-8 text converted to the code page into out; a character the code page lacks becomes '?'. False
// (out unchanged) when the text is not valid UTF-8.
bool CodePageFromUtf8(const std::string &utf8, std::string &out);
// UTF-16 text (a file name as Windows holds it) in the code page, the same way; a surrogate without its
// other half, which a file name may hold, becomes '?' too.
std::string CodePageFromUtf16(const std::u16string &utf16);
// Code-page text converted to UTF-8 (what SQLite takes for a file name) into out; false (out unchanged) when
// it cannot be converted.
bool Utf8FromCodePage(const std::string &text, std::string &out);
