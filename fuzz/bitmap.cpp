// The picture loader on Windows bitmap files (.bmp): every input starts with
// the file header's "BM", the rest is the fuzzer's.

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    vz::fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    vz::fuzz::loadPictureFile(vz::fuzz::withSignature(data, size, "BM"));
    vz::fuzz::letTimersRun();
    return 0;
}
