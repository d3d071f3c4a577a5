// Prints what ReadVersionRecord and ClassifyVersion see in this process, one
// "name=value" line each; the service-pack text as hex bytes so nothing is lost.
#include "osversion/OsVersion.h"

#include <cstdio>

int main() {
    VersionRecord record = PreparedVersionRecord();
    const bool read = ReadVersionRecord(record);
    std::printf("read=%d\nsize=%u\nmajor=%u\nminor=%u\nbuild=%u\nplatform=%u\n", read ? 1 : 0,
                record.dwOSVersionInfoSize, record.dwMajorVersion, record.dwMinorVersion,
                record.dwBuildNumber, record.dwPlatformId);
    std::printf("spmajor=%u\nspminor=%u\nproducttype=%u\ncsdhex=", record.wServicePackMajor,
                record.wServicePackMinor, record.wProductType);
    for (const char* p = record.szCSDVersion; *p; ++p)
        std::printf("%02x", static_cast<unsigned char>(*p));
    std::printf("\ncode=%u\nbits=%u\n", ClassifyVersion(),
                static_cast<unsigned>(sizeof(void*) * 8));
    return 0;
}
