#include "status/SleeplessClock.h"

#include <windows.h>

uint32_t SleeplessTickCount()
{
    ULONGLONG unbiased = 0; // in 100 ns steps
    if (!QueryUnbiasedInterruptTime(&unbiased))
        return GetTickCount();
    return uint32_t(unbiased / 10000);
}
