#pragma once
// What the fuzz targets share: the Qt application that pictures and fonts
// need, a check that stops the run with a message (the fuzzer then keeps the
// input), and the picture loader driven through a real file.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace vz::test {
class TestProgram;
}

namespace vz::fuzz {

[[noreturn]] void fail(const char *condition, const char *file, int line);

#define VZ_FUZZ_CHECK(condition) \
    ((condition) ? void() : ::vz::fuzz::fail(#condition, __FILE__, __LINE__))

// A QGuiApplication on the offscreen platform, created once, for the fonts
// and image plugins that decoding and drawing use.
void startGuiApplication();

// The Program the list file targets load from and save to: made on first use
// (with the application) on a temporary folder with its own settings store;
// the folder goes when the process ends.
test::TestProgram &listProgram();

// Lets the application's timers run (font caches are trimmed by a timer), as
// the program's event loop would between pictures. Cheap; call every run.
void letTimersRun();

// The input with its first bytes replaced by signature, so that every input
// of a target reaches the decoder of one format family.
QByteArray withSignature(const std::uint8_t *data, std::size_t size, QByteArrayView signature);

// Writes bytes to a file in a private temporary folder, loads it with the
// picture loader for a 256 x 256 view as the show does, and checks what every
// result must satisfy: a failure has a reason and no pixels; a success has a
// sane natural size and exactly the visible part of it in a 32-bit format.
void loadPictureFile(const QByteArray &bytes);

} // namespace vz::fuzz
