#include "framework/AnsiLeadByte.h"

#include <windows.h>

bool IsAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}
