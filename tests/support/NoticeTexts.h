#pragma once
// What the notices are expected to show, for every test that looks at one: captions
// and the two text lines (controls 1005 and 1006) of each wording. Pure; tests on the
// host use it too. tests/pe/check_resources.py reads the template texts from here and
// checks them against the templates in the built exe.

struct ExpectedLines {
    const wchar_t* line1;
    const wchar_t* line2;
};

namespace expected_text {

// The service-pack notice (template 102).
constexpr wchar_t kServicePackCaption[] = L"お知らせ";
// Its template's own lines: no wording flag.
constexpr ExpectedLines kServicePackTemplate{
    L"お使いの Windows には最新のサービスパックが準備されています。",
    L"最新のサービスパックをインストールして下さい。"};
// The wordings set at run time, in the order they win.
constexpr ExpectedLines kWindows10{L"Windows 10 は、サポート対象外です。",
                                   L"動作保証・サポート等は、ご対応致しかねますのでご了承下さい。"};
constexpr ExpectedLines kWindows8Installer{
    L"お使いの Windows 8 はサポート対象外です。",
    L"インストール前に Windows 8.1 にアップデートすることを推奨します。"};
constexpr ExpectedLines kWindows8{L"お使いの Windows 8 はサポート対象外です。",
                                  L"Windows 8.1 にアップデートすることを推奨します。"};
constexpr ExpectedLines kInstaller{L"お使いのWindowsのサービスパックはサポート対象外です。",
                                   L"インストール前にサービスパックを最新にすることを推奨します。"};

// The end-of-support notice (template 129), whose lines nothing replaces.
constexpr wchar_t kEndOfSupportCaption[] = L"重要なお知らせ";
constexpr ExpectedLines kEndOfSupport{L"マイクロソフト社は、2017 年 4 月 11 日 をもって",
                                      L"「Windows Vista」 の製品サポートを終了しました。"};

} // namespace expected_text
