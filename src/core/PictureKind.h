#pragma once
// The background picture's kind, chosen by its file name's extension, and what is said when a
// picture cannot be shown.
#include <string>
#include <string_view>

namespace zarn {

enum class PictureKind { Bitmap, Icon, Metafile, Unsupported };

// The extension as written, without its dot: "BMP" for "C:\pics\sky.BMP", "" when there is none.
std::u16string PictureExtension(std::u16string_view path);
// "bmp", "ico", "wmf" and "emf", ignoring letter case.
PictureKind PictureKindOf(std::u16string_view path);

// "拡張子 .<ext> の画像形式は処理できません"
std::u16string UnsupportedPictureMessage(std::u16string_view path);
// The message for a file of a known kind whose contents cannot be read as that kind.
std::u16string BadPictureMessage(PictureKind kind);

}  // namespace zarn
