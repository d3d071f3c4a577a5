#pragma once
// Dates for the Windows tests of the date type and of what is built on it.
#include <string>

// A DATE from calendar numbers, through SystemTimeToVariantTime.
double DateOf(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// The time-stamp text of a date in this process's regional settings.
std::string TextOf(double date);
