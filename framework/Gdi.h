#pragma once
// Thin GDI wrappers for the dialogs: brushes, fonts, painting. Whether a wrapper owns
// its object is part of its type: CBrush and CFont own theirs (delete it on destruction,
// cannot be copied); CFontHandle only looks at a font someone else owns.
#include <windows.h>

#include <type_traits>

namespace gdi_detail {
struct NonCopyable {
    NonCopyable() = default;
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;
};
struct Copyable {};

template <typename Handle, bool Managed>
class GdiObjectT : private std::conditional_t<Managed, NonCopyable, Copyable> {
public:
    GdiObjectT() = default;
    explicit GdiObjectT(Handle handle) : m_hObject(handle) {}
    ~GdiObjectT() {
        if constexpr (Managed)
            DeleteObject();
    }

    Handle GetSafeHandle() const { return m_hObject; }
    operator Handle() const { return m_hObject; }

    // Takes over `handle`; an owning wrapper first deletes what it held.
    void Attach(Handle handle) {
        if constexpr (Managed)
            DeleteObject();
        m_hObject = handle;
    }
    BOOL DeleteObject() {
        if (!m_hObject)
            return FALSE;
        BOOL deleted = ::DeleteObject(m_hObject);
        m_hObject = nullptr;
        return deleted;
    }

protected:
    Handle m_hObject = nullptr;
};
} // namespace gdi_detail

class CBrush : public gdi_detail::GdiObjectT<HBRUSH, true> {
public:
    BOOL CreateSolidBrush(COLORREF colour) {
        Attach(::CreateSolidBrush(colour));
        return m_hObject != nullptr;
    }
};

template <bool Managed> class CFontT : public gdi_detail::GdiObjectT<HFONT, Managed> {
public:
    using gdi_detail::GdiObjectT<HFONT, Managed>::GdiObjectT;
    BOOL CreateFontIndirect(const LOGFONTW* logFont) {
        this->Attach(::CreateFontIndirectW(logFont));
        return this->m_hObject != nullptr;
    }
    // The font's logical description; FALSE when there is none or it cannot be read.
    BOOL GetLogFont(LOGFONTW* logFont) const {
        return this->m_hObject &&
               ::GetObjectW(this->m_hObject, sizeof(LOGFONTW), logFont) == sizeof(LOGFONTW);
    }
};
using CFont = CFontT<true>;
using CFontHandle = CFontT<false>;

// BeginPaint on construction, EndPaint on destruction.
class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::BeginPaint(hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    operator HDC() const { return m_hDC; }
    HDC m_hDC = nullptr;

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
};
