#include "DateTestSupport.h"

#include "framework/OleDateTime.h"

#include <oleauto.h>

double DateOf(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    double date = 0.0;
    SystemTimeToVariantTime(&st, &date);
    return date;
}

std::string TextOf(double date) {
    return COleDateTime(date, COleDateTime::valid).Format().c_str();
}
