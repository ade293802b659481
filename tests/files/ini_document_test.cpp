#include "files/ini_document.h"

#include <gtest/gtest.h>

#include <vector>

namespace qx40 {
namespace {

TEST(IniDocument, NamesMatchWithoutLetterCase) {
    const IniDocument ini = IniDocument::Parse("[Generator]\r\n50M_100uS=1\r\n");
    EXPECT_EQ(ini.Get("generator", "50m_100uS"), "1");
    EXPECT_EQ(ini.Get("GENERATOR", "50M_100US"), "1");
    EXPECT_FALSE(ini.Get("Generator", "50M_100u").has_value());
    EXPECT_FALSE(ini.Get("Scope", "50M_100uS").has_value());
}

TEST(IniDocument, ToleratesLineEndsSpacesAndBom) {
    const IniDocument ini = IniDocument::Parse("\xEF\xBB\xBF[ Common ]\nCH_D1 = 1 \r\n\r\n  Grid=0\n[Scope]\n1mS=1");
    EXPECT_EQ(ini.Get("Common", "CH_D1"), "1");
    EXPECT_EQ(ini.Get("Common", "Grid"), "0");
    EXPECT_EQ(ini.Get("Scope", "1mS"), "1");
}

TEST(IniDocument, FirstOccurrenceWins) {
    const IniDocument ini = IniDocument::Parse("[A]\nk=1\nK=2\n[a]\nk=3\n");
    EXPECT_EQ(ini.Get("A", "k"), "1");
}

TEST(IniDocument, ValueMayHoldEqualsSign) {
    const IniDocument ini = IniDocument::Parse("[System]\nDevice_Type=~a=b~\n");
    EXPECT_EQ(ini.Get("System", "Device_Type"), "~a=b~");
}

// An existing key keeps its spelling; only its value changes.
TEST(IniDocument, SetOverwritesInPlaceOrAppends) {
    IniDocument ini = IniDocument::Parse("[System]\nDebug_qx=1\nSoft_Ver=~100~\n[Colors]\nGrid=5\n");
    ini.Set("system", "SOFT_VER", "~208~");
    ini.Set("System", "Device_Type_Code", "31");
    ini.Set("Common", "CH_D1", "1");
    EXPECT_EQ(ini.Serialize(),
              "[System]\r\nDebug_qx=1\r\nSoft_Ver=~208~\r\nDevice_Type_Code=31\r\n"
              "\r\n[Colors]\r\nGrid=5\r\n"
              "\r\n[Common]\r\nCH_D1=1\r\n");
}

TEST(IniDocument, ForeignLinesSurvive) {
    const std::string text = "; written by hand\r\n\r\n[Mine]\r\n; comment\r\nweird line\r\nx=1\r\n";
    const IniDocument ini = IniDocument::Parse(text);
    EXPECT_EQ(ini.Serialize(), text);
}

TEST(IniDocument, EraseSectionRemovesEveryCopy) {
    IniDocument ini = IniDocument::Parse("[Scope]\na=1\n[Other]\nb=2\n[SCOPE]\nc=3\n");
    ini.EraseSection("scope");
    EXPECT_FALSE(ini.HasSection("Scope"));
    EXPECT_EQ(ini.Serialize(), "[Other]\r\nb=2\r\n");
}

TEST(IniDocument, EmptyAndGarbageInput) {
    EXPECT_EQ(IniDocument::Parse("").Serialize(), "");
    const IniDocument ini = IniDocument::Parse(std::string("\0\xff[\n=\n[]\n=x\n", 12));
    EXPECT_FALSE(ini.Get("", "").has_value());
}

// Writing a few keys into a file a user may have edited by hand: every
// other byte stays, whatever its line ends, spaces, comments and sections.
TEST(UpdateIniText, ChangesOnlyTheKeysItSets) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<IniValue> values;
        std::string expected;
    };
    const Case cases[] = {
        {"InPlaceWithLfEnds",
         "; mine\n[Common]\nRussian=1\n\n[calibrate]\n; measured 2024\nz_a1p1 = 3357\nTime=4\n\n[Colors]\nGrid=5\n",
         {{"Z_A1P1", "3430"}, {"Time", "-7"}},
         "; mine\n[Common]\nRussian=1\n\n[calibrate]\n; measured 2024\nz_a1p1=3430\nTime=-7\n\n[Colors]\nGrid=5\n"},
        {"MissingKeysAfterTheSectionsLastLine",
         "[Calibrate]\r\nTime=0\r\n\r\n[System]\r\nDebug_qx=1\r\n",
         {{"Z_A1P1", "1"}, {"Z_A1P2", "2"}},
         "[Calibrate]\r\nTime=0\r\nZ_A1P1=1\r\nZ_A1P2=2\r\n\r\n[System]\r\nDebug_qx=1\r\n"},
        {"MissingSectionAtTheEnd",
         "[Common]\nGrid=1",
         {{"Time", "3"}},
         "[Common]\nGrid=1\n\n[Calibrate]\nTime=3\n"},
        {"EmptyFile", "", {{"Time", "3"}}, "[Calibrate]\r\nTime=3\r\n"},
        {"FirstSectionAndKeyWin",
         "\xEF\xBB\xBF[Calibrate]\r\nTime=1\r\nTime=2\r\n[Calibrate]\r\nTime=3\r\n",
         {{"Time", "9"}},
         "\xEF\xBB\xBF[Calibrate]\r\nTime=9\r\nTime=2\r\n[Calibrate]\r\nTime=3\r\n"},
        {"KeyOfAnotherSectionIsNotTaken",
         "[Scope]\nTime=1\n[Calibrate]\n",
         {{"Time", "2"}},
         "[Scope]\nTime=1\n[Calibrate]\nTime=2\n"},
    };
    for (const Case& c : cases) {
        const std::string updated = UpdateIniText(c.text, "Calibrate", c.values);
        EXPECT_EQ(updated, c.expected) << c.name;
        const IniDocument ini = IniDocument::Parse(updated);
        for (const IniValue& v : c.values) EXPECT_EQ(ini.Get("Calibrate", v.key), v.value) << c.name << " " << v.key;
    }
}

}  // namespace
}  // namespace qx40
