// Writing a clip's contents to a file: text with a closing CR LF, rich text as RTF, pictures as
// 24-bit Windows bitmap files. Each throws std::runtime_error naming the file when it cannot write.
#pragma once

#include <windows.h>

#include <string>

#include "clips/ClipCollection.h"
#include "clips/ClipHolders.h"

namespace mainwindow {

// The bytes of a text file: ANSI where the code page holds every character, else UTF-8 with a BOM.
std::string TextFileBytes(const std::string& text);
void WriteTextFile(const std::string& path, const std::string& text);
void WriteBitmapFile(const std::string& path, HBITMAP picture);
// By the tag's kind, from its holder; an unknown kind or a missing holder writes nothing.
void WriteClipFile(clips::ClipHolders& holders, const std::string& path, const clips::ClipId& tag);

}  // namespace mainwindow
