#pragma once
// Limits of tests that time how fast the program responds. A sanitizer build
// runs several times slower and checks the whole heap for leaks as each
// program ends; it sets VZ_TEST_TIME_SCALE, which stretches these limits.

#include <QtGlobal>

namespace vz::test {

inline qint64 scaledMs(qint64 ms)
{
    const int factor = qEnvironmentVariableIntValue("VZ_TEST_TIME_SCALE");
    return factor > 1 ? ms * factor : ms;
}

} // namespace vz::test
