#pragma once
// CString: the narrow (ANSI) text type of the program. A small owning buffer
// with no exceptions and no standard containers, so the shipped exe stays small.
#include <cstddef>
#include <string_view>

class CString {
public:
    CString() noexcept = default;
    CString(const char* text) : CString(std::string_view(text ? text : "")) {}
    explicit CString(std::string_view text);
    CString(const CString& other) : CString(other.View()) {}
    CString(CString&& other) noexcept : m_pData(other.m_pData), m_nLength(other.m_nLength) {
        other.m_pData = nullptr;
        other.m_nLength = 0;
    }
    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    ~CString();

    // Always a NUL-terminated text, "" when empty.
    const char* c_str() const noexcept { return m_pData ? m_pData : ""; }
    std::size_t GetLength() const noexcept { return m_nLength; }
    bool IsEmpty() const noexcept { return m_nLength == 0; }
    std::string_view View() const noexcept { return {c_str(), m_nLength}; }
    void Empty() noexcept;

private:
    char* m_pData = nullptr;
    std::size_t m_nLength = 0;
};

inline bool operator==(const CString& a, std::string_view b) noexcept {
    return a.View() == b;
}
