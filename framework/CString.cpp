#include "framework/CString.h"

#include <cstdlib>
#include <cstring>

CString::CString(std::string_view text) {
    if (text.empty())
        return;
    // Out of memory leaves the text empty: the program has nowhere to report it.
    m_pData = static_cast<char*>(std::malloc(text.size() + 1));
    if (!m_pData)
        return;
    std::memcpy(m_pData, text.data(), text.size());
    m_pData[text.size()] = '\0';
    m_nLength = text.size();
}

CString& CString::operator=(const CString& other) {
    if (this != &other)
        *this = CString(other.View());
    return *this;
}

CString& CString::operator=(CString&& other) noexcept {
    if (this != &other) {
        Empty();
        m_pData = other.m_pData;
        m_nLength = other.m_nLength;
        other.m_pData = nullptr;
        other.m_nLength = 0;
    }
    return *this;
}

CString::~CString() {
    Empty();
}

void CString::Empty() noexcept {
    std::free(m_pData);
    m_pData = nullptr;
    m_nLength = 0;
}
