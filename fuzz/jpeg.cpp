// The picture loader on JPEG files: every input starts with the start-of-image
// marker and the 0xFF of the next marker, the rest is the fuzzer's.

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    vz::fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    vz::fuzz::loadPictureFile(vz::fuzz::withSignature(data, size, QByteArrayView("\xFF\xD8\xFF", 3)));
    vz::fuzz::letTimersRun();
    return 0;
}
