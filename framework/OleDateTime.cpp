#include "framework/OleDateTime.h"

#include <oleauto.h>

#include <cstdlib>
#include <ctime>

namespace {
// The last second the run-time's 64-bit time functions convert: 3001-01-01 07:59:59 UTC.
constexpr __time64_t kLastTime64 = 32535244799LL;

COleDateTime InvalidDate() {
    return COleDateTime(0.0, COleDateTime::invalid);
}

// UTF-16 text of the given length as narrow text in the thread's ANSI code page.
bool ToThreadAnsi(const wchar_t* wide, int wideLength, CString& out) {
    if (wideLength == 0) {
        out = CString();
        return true;
    }
    const int length =
        WideCharToMultiByte(CP_THREAD_ACP, 0, wide, wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return false;
    char* narrow = static_cast<char*>(std::malloc(static_cast<std::size_t>(length)));
    if (!narrow)
        return false;
    const bool converted = WideCharToMultiByte(CP_THREAD_ACP, 0, wide, wideLength, narrow, length,
                                               nullptr, nullptr) == length;
    if (converted)
        out = CString(std::string_view(narrow, static_cast<std::size_t>(length)));
    std::free(narrow);
    return converted;
}
} // namespace

COleDateTime COleDateTime::GetCurrentTime() {
    return FromTime64(_time64(nullptr));
}

COleDateTime COleDateTime::FromTime64(__time64_t seconds) {
    if (seconds < 0 || seconds > kLastTime64)
        return InvalidDate();
    const tm* local = _localtime64(&seconds);
    if (!local)
        return InvalidDate();
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(local->tm_year + 1900);
    st.wMonth = static_cast<WORD>(local->tm_mon + 1);
    st.wDayOfWeek = static_cast<WORD>(local->tm_wday);
    st.wDay = static_cast<WORD>(local->tm_mday);
    st.wHour = static_cast<WORD>(local->tm_hour);
    st.wMinute = static_cast<WORD>(local->tm_min);
    st.wSecond = static_cast<WORD>(local->tm_sec);
    st.wMilliseconds = 0;
    double date = 0.0;
    if (!SystemTimeToVariantTime(&st, &date))
        return InvalidDate();
    // Valid only when the DATE turns back into the same calendar time.
    SYSTEMTIME back = {};
    const bool same = VariantTimeToSystemTime(date, &back) && back.wYear == st.wYear &&
                      back.wMonth == st.wMonth && back.wDay == st.wDay && back.wHour == st.wHour &&
                      back.wMinute == st.wMinute && back.wSecond == st.wSecond;
    return COleDateTime(date, same ? valid : invalid);
}

CString COleDateTime::Format() const {
    if (!IsValid())
        return CString(kInvalidDateTimeText);
    BSTR wide = nullptr;
    if (FAILED(VarBstrFromDate(m_dt, LOCALE_USER_DEFAULT, 0, &wide)) || !wide)
        return CString(kInvalidDateTimeText);
    CString text;
    if (!ToThreadAnsi(wide, static_cast<int>(SysStringLen(wide)), text))
        text = CString(kInvalidDateTimeText);
    SysFreeString(wide);
    return text;
}

bool COleDateTime::ParseDateTime(const char* text) {
    m_dt = 0.0;
    m_status = invalid;
    if (!text)
        return false;
    const int length = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return false;
    wchar_t* wide =
        static_cast<wchar_t*>(std::malloc(static_cast<std::size_t>(length) * sizeof(wchar_t)));
    if (!wide)
        return false;
    DATE date = 0.0;
    const bool parsed = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, wide, length) == length &&
                        SUCCEEDED(VarDateFromStr(wide, LOCALE_USER_DEFAULT, 0, &date));
    std::free(wide);
    if (!parsed)
        return false;
    m_dt = date;
    m_status = valid;
    return true;
}
