// The rotating text buffers and the program's string table (strings.rc
// compiled into this test through the program's own resource script).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "TextBuffers.h"
#include "resource.h"

TEST(TextBuffers, LoadTextReadsTheProgramsStringTable) {
    struct Case {
        UINT id;
        const wchar_t* text;
    };
    const Case cases[] = {
        {IDS_ERROR, L"Fehler"},
        {IDS_SAVE_CHANGES, L"Änderungen speichern?"},
        {IDS_RESUME_CHOICES, L"Nur abspeichern|In neuem Fenster öffnen|In aktuellem Fenster öffnen"},
        {IDS_WEATHER_LINE, L"Temp. %d°C; Druck %d mBar; rel. Feuchte %d %%"},
        {ID_MEASURE, L"Messung starten"},
        {ID_FILE_ADD, L"Messung hinzufügen"},
        {ID_AXIS_X, L"Einheit der X-Achse"},
        {ID_FILE_PRINT_SETUP, L""},  // menu items without help text
        {ID_APP_EXIT, L""},
        {ID_WINDOW_TILE, L""},
        {ID_APP_ABOUT, L""},
    };
    for (const Case& c : cases) EXPECT_STREQ(LoadText(c.id), c.text) << "string " << c.id;
    EXPECT_EQ(std::wstring(LoadText(IDS_NO_COASTDOWN)).find(L'\n'), 36u) << "line breaks survive";
}

TEST(TextBuffers, EightRotatingBuffersKeepATextForEightMoreRequests) {
    wchar_t* first = LoadText(IDS_ERROR);
    for (int i = 0; i < 7; ++i) {
        wchar_t* other = LoadText(IDS_SPEED);
        EXPECT_NE(other, first) << "request " << i + 2;
    }
    EXPECT_STREQ(first, L"Fehler") << "still valid after seven more";
    wchar_t* ninth = LoadText(IDS_TORQUE);
    EXPECT_EQ(ninth, first) << "the ninth request reuses the first buffer";
    EXPECT_STREQ(first, L"Drehmoment");
}

TEST(TextBuffers, WidenAndCopyStayWithin255Characters) {
    EXPECT_STREQ(WidenText("Leistung"), L"Leistung");
    EXPECT_STREQ(WidenText(nullptr), L"");
    const std::string narrowLong(300, 'x');
    std::wstring widened = WidenText(narrowLong.c_str());
    EXPECT_EQ(widened.size(), 255u);

    const std::wstring wideLong(300, L'ö');
    wchar_t* copy = CopyText(wideLong.c_str());
    EXPECT_EQ(std::wstring(copy), std::wstring(255, L'ö'));
    wchar_t* items = CopyText(L"PS|kW");
    items[2] = L'\0';  // a copy may be cut up in place
    EXPECT_STREQ(items, L"PS");
    EXPECT_STREQ(LoadText(IDS_POWER_UNIT_CHOICES), L"PS|kW");
}
