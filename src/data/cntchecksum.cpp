#include "cntchecksum.h"

int cntChecksum(const unsigned char *data, long long length)
{
    if (!data || length <= 0)
        return 0;
    unsigned sum = 0;
    for (long long i = 0; i < length; ++i)
        sum += data[i];
    return static_cast<int>(sum & 0xff);
}
