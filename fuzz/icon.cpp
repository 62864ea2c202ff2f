// The picture loader on icon files (.ico): every input starts with an icon
// directory header (reserved 0, type 1) and names at least one image; the
// entries and images are the fuzzer's.

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    vz::fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray bytes = vz::fuzz::withSignature(data, size, QByteArrayView("\0\0\1\0", 4));
    if (bytes.size() < 6)
        bytes.resize(6, '\0');
    if (bytes[4] == 0 && bytes[5] == 0)
        bytes[4] = 1;
    vz::fuzz::loadPictureFile(bytes);
    vz::fuzz::letTimersRun();
    return 0;
}
