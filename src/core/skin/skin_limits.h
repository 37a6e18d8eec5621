#pragma once

#include <cstddef>
#include <cstdint>

namespace norvale {

// What one skin may ask of the clock. Each is checked before anything is allocated for it, so
// that loading and drawing any skin at up to 300 % stays within a known amount of memory and
// time, whatever its files hold (docs/skins.md gives the figures).

// The longest side of any image of the skin, in skin pixels (its @2x and @3x files may be two
// and three times as long).
inline constexpr int kMaxSkinSide = 1024;
// The pixels the skin keeps when drawn at 300 %: every pixel decoded from its images and
// variants, and for each image the bitmaps drawn from it (kSkinImageWeight...).
inline constexpr std::uint64_t kMaxSkinPixels = 24ull * 1024 * 1024;
// Bitmaps drawn at 300 % for each pixel of an image, besides its own decoded pixels: nine for
// its copy at that scale; for a hand nine more times four for the float copy its turning
// samples from; for the face four more copies of nine (the frame, its zoomed copy, the text
// layer and the window's own); none for the AM/PM image, which is never drawn.
inline constexpr std::uint64_t kDrawnImageWeight = 9;
inline constexpr std::uint64_t kHandWeight = 9 + 9 * 4;
inline constexpr std::uint64_t kFaceWeight = 9 + 4 * 9;
// All the skin's files together: skin.xml, images, variants and fonts.
inline constexpr std::uint64_t kMaxSkinBytes = 64ull << 20;
inline constexpr std::uint64_t kMaxSkinXmlBytes = 1ull << 20;
// Besides its pixel data, an image file may hold this much: chunk headers, colour profiles,
// text.
inline constexpr std::uint64_t kMaxPngExtraBytes = 1ull << 20;
inline constexpr std::uint64_t kMaxSkinFontBytes = 32ull << 20;
inline constexpr int kMaxSkinFonts = 16;
// Faces in all the skin's font files together: each font of a collection and each named
// instance of a variable font counts, since the font engine looks at every one.
inline constexpr int kMaxSkinFontFaces = 16;
// Entries of the fonts folder looked at, font files or not.
inline constexpr std::size_t kMaxSkinFolderEntries = 64;
// A label's font size, in points.
inline constexpr int kMaxSkinFontSize = 400;
// A file name in skin.xml, in bytes: as long as a name may be on any system.
inline constexpr std::size_t kMaxSkinFileName = 255;
// A label's text, in characters.
inline constexpr std::size_t kMaxSkinLabelText = 64;
// The skin's author and its one-line description, in characters.
inline constexpr std::size_t kMaxSkinAuthor = 64;
inline constexpr std::size_t kMaxSkinDescription = 256;
// A skin package (.nvskin): its entries of any kind, folders included; the package file, the
// skin's bytes and what the package's headers add to them; the skin's name, the package's one
// folder; and a text file it may carry (a licence, a read-me).
inline constexpr std::size_t kMaxSkinPackageEntries = 128;
inline constexpr std::uint64_t kMaxSkinPackageBytes = kMaxSkinBytes + (1ull << 20);
inline constexpr std::size_t kMaxSkinNameBytes = 64;
inline constexpr std::uint64_t kMaxSkinTextBytes = 1ull << 20;
// How much an entry of a package may inflate: to kMaxSkinPackageRatio times its compressed
// bytes and kMaxSkinPackageSlack more, for small files. Skin files come nowhere near (images
// hardly shrink, fonts and texts to a half or a third); a bomb goes far beyond.
inline constexpr std::uint64_t kMaxSkinPackageRatio = 100;
inline constexpr std::uint64_t kMaxSkinPackageSlack = 4096;
// Every position, width and height of a label or button, and every hand value, lies within
// this distance of 0, in skin pixels.
inline constexpr int kMaxSkinCoordinate = 16384;

} // namespace norvale
