#pragma once
// The ANSI code page's lead-byte test (IsDBCSLeadByte) in the form the command-line
// splitter takes it. Windows builds only.

bool IsAnsiLeadByte(unsigned char byte);
