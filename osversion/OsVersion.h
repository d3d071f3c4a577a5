#pragma once
// Reading the running Windows (Windows side).
#include "osversion/VersionRecord.h"

// Fills a prepared record from RtlGetVersion; on false the record is left as prepared.
bool ReadVersionRecord(VersionRecord& record);

// Reads the running system and maps it to a version code 0..27.
unsigned ClassifyVersion();
