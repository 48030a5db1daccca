#include "toolkit/runtime.h"

#include <gtest/gtest.h>

namespace tarvolin {
namespace {

TEST(Conversions, CIntAndCLngRoundHalvesToEven) {
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(3.5), 4);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CInt(-3.5), -4);
    EXPECT_EQ(CInt(2.4999), 2);
    EXPECT_EQ(CInt(2.5001), 3);
    EXPECT_EQ(CLng(12.5), 12);  // a resume point of 12.5 s is stored as 12
    EXPECT_EQ(CLng(13.5), 14);
    EXPECT_EQ(CLng(-0.5), 0);
    EXPECT_EQ(CInt(Currency::fromRaw(25000)), 2);
    EXPECT_EQ(CInt(Currency::fromRaw(35000)), 4);
    EXPECT_EQ(CInt(Currency::fromRaw(-25000)), -2);
    EXPECT_EQ(CLng(Currency::fromRaw(-35000)), -4);
    EXPECT_EQ(CLng(Currency::fromRaw(25001)), 3);
}

TEST(Conversions, OverflowIsReportedAtTheTypeLimits) {
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-32768.5), -32768);  // the even neighbour is in range
    EXPECT_FALSE(tryCInt(32767.5).has_value());
    EXPECT_FALSE(tryCInt(-32769.0).has_value());
    EXPECT_FALSE(tryCInt(std::numeric_limits<double>::quiet_NaN()).has_value());
    EXPECT_FALSE(tryCInt(Currency::fromInteger(40000)).has_value());
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_FALSE(tryCLng(2147483647.5).has_value());
    EXPECT_FALSE(tryCLng(Currency::fromInteger(3000000000LL)).has_value());
    try {
        CInt(40000.0);
        FAIL() << "no overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 6);
        EXPECT_STREQ(e.what(), "Overflow");
    }
    EXPECT_THROW(CLng(1e10), RuntimeError);

    EXPECT_EQ(Int16Add(32000, 767), std::optional<std::int16_t>(32767));
    EXPECT_FALSE(Int16Add(32000, 768).has_value());
    EXPECT_FALSE(Int16Sub(-32768, 1).has_value());
    EXPECT_EQ(Int16Sub(-32767, 1), std::optional<std::int16_t>(-32768));
}

TEST(CurrencyType, ConversionAndArithmeticRoundToFourDecimalsHalfEven) {
    // 0.03125 and 0.09375 are exact in binary: their fifth decimal is a true half.
    EXPECT_EQ(Currency::fromDouble(0.03125).raw(), 312);
    EXPECT_EQ(Currency::fromDouble(0.09375).raw(), 938);
    EXPECT_EQ(Currency::fromDouble(-0.03125).raw(), -312);
    EXPECT_EQ(Currency::fromDouble(1.5).raw(), 15000);
    EXPECT_DOUBLE_EQ(Currency::fromRaw(-12345).toDouble(), -1.2345);

    const Currency a = Currency::fromRaw(3);        // 0.0003
    const Currency half = Currency::fromRaw(5000);  // 0.5
    EXPECT_EQ((a * half).raw(), 2);                 // 0.00015 -> 0.0002
    EXPECT_EQ((Currency::fromRaw(1) * half).raw(), 0);  // 0.00005 -> 0
    EXPECT_EQ((Currency::fromRaw(15) / 10).raw(), 2);   // 1.5 -> 2
    EXPECT_EQ((Currency::fromRaw(25) / 10).raw(), 2);   // 2.5 -> 2
    EXPECT_EQ((Currency::fromRaw(-25) / -10).raw(), 2);
    EXPECT_EQ((Currency::fromRaw(-35) / 10).raw(), -4);
    EXPECT_EQ((Currency::fromInteger(1536) / 1024).raw(), 15000);
    EXPECT_EQ(Currency::fromInteger(2) + half, Currency::fromRaw(25000));
    EXPECT_LT(half, Currency::fromInteger(1));
    EXPECT_EQ(-half, Currency::fromRaw(-5000));

    const Currency max = Currency::fromRaw(std::numeric_limits<std::int64_t>::max());
    EXPECT_THROW(max + Currency::fromRaw(1), RuntimeError);
    EXPECT_THROW(-Currency::fromRaw(std::numeric_limits<std::int64_t>::min()), RuntimeError);
    EXPECT_THROW(max * 2, RuntimeError);
    EXPECT_THROW(Currency::fromRaw(1) / 0, RuntimeError);
    EXPECT_THROW(Currency::fromInteger(1000000000000000LL), RuntimeError);
    EXPECT_FALSE(Currency::tryFromDouble(1e16).has_value());
    EXPECT_FALSE(Currency::tryFromDouble(std::numeric_limits<double>::infinity()).has_value());
}

TEST(FormatNumbers, PatternsOfTheDisplayColumnsAndLabels) {
    // Sizes
    EXPECT_EQ(Format(3.2, "#00.00"), "03.20");
    EXPECT_EQ(Format(1023.99, "#00.00"), "1023.99");
    EXPECT_EQ(Format(1536.0 / 1024, "#00.00"), "01.50");
    EXPECT_EQ(Format(1.0, "#00.00"), "01.00");
    EXPECT_EQ(Format(3.2, "#0.00"), "3.20");
    EXPECT_EQ(Format(4.5678, "000.00"), "004.57");
    EXPECT_EQ(Format(1.5, "0000.00"), "0001.50");
    EXPECT_EQ(Format(0.0, "0000.00"), "0000.00");
    // Counts and times
    EXPECT_EQ(Format(7, "#00000"), "00007");
    EXPECT_EQ(Format(12346, "#00000"), "12346");
    EXPECT_EQ(Format(123456, "00000"), "123456");
    EXPECT_EQ(Format(1, "000000"), "000001");
    EXPECT_EQ(Format(5, "0#"), "05");
    EXPECT_EQ(Format(0, "0#"), "00");
    EXPECT_EQ(Format(123, "0#"), "123");
    EXPECT_EQ(Format(64, "000"), "064");
    EXPECT_EQ(Format(std::int16_t{64}, "000"), "064");
    EXPECT_EQ(Format(12346LL, "#00000"), "12346");
    EXPECT_EQ(Format(std::size_t{7}, "00"), "07");
    EXPECT_EQ(Format(0, "000"), "000");
    EXPECT_EQ(Format(125.0, "#0"), "125");
    EXPECT_EQ(Format(0.0, "#0"), "0");
    // Percentages
    EXPECT_EQ(Format(0.0, "00.00"), "00.00");
    EXPECT_EQ(Format(5.5, "00.00"), "05.50");
    EXPECT_EQ(Format(100.0, "00.00"), "100.00");
    EXPECT_EQ(Format(100.0 / 3, "00.0"), "33.3");
}

TEST(FormatNumbers, RoundsHalfAwayFromZeroOnTheDecimalDigits) {
    EXPECT_EQ(Format(2.5, "0"), "3");
    EXPECT_EQ(Format(3.5, "0"), "4");
    EXPECT_EQ(Format(-2.5, "00"), "-03");
    EXPECT_EQ(Format(0.125, "0.00"), "0.13");
    EXPECT_EQ(Format(1.005, "0.00"), "1.01");  // 1.00499999999999989... in binary
    EXPECT_EQ(Format(99.995, "#00.00"), "100.00");
    EXPECT_EQ(Format(9.96, "00.0"), "10.0");
    EXPECT_EQ(Format(0.5, "#0"), "1");
    EXPECT_EQ(Format(-0.001, "00.00"), "00.00");
    EXPECT_EQ(Format(-3.2, "#00.00"), "-03.20");
    EXPECT_EQ(Format(1e20, "0"), "100000000000000000000");
    EXPECT_EQ(Format(std::numeric_limits<double>::quiet_NaN(), "00.00"), "00.00");
    // Currency is exact
    EXPECT_EQ(Format(Currency::fromRaw(12345), "0.00"), "1.23");
    EXPECT_EQ(Format(Currency::fromRaw(12350), "0.00"), "1.24");
    EXPECT_EQ(Format(Currency::fromRaw(-12350), "00.00"), "-01.24");
    EXPECT_EQ(Format(Currency::fromRaw(15000), "0000.00"), "0001.50");
    EXPECT_EQ(Format(std::int64_t{-42}, "0000"), "-0042");
}

TEST(FormatNumbers, OptionalFractionPlacesAndUnknownPatterns) {
    EXPECT_EQ(Format(1.5, "0.0#"), "1.5");
    EXPECT_EQ(Format(1.25, "0.0#"), "1.25");
    EXPECT_EQ(Format(0.5, "#.00"), ".50");
    EXPECT_THROW(Format(1.0, "0,000"), RuntimeError);
    EXPECT_THROW(Format(1.0, ""), RuntimeError);
    EXPECT_THROW(Format(1.0, "hh:mm:ss"), RuntimeError);
}

TEST(StrValIsNumeric, StrGivesTheSignPlace) {
    EXPECT_EQ(Str(5), " 5");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(-5), "-5");
    EXPECT_EQ(Str(32766), " 32766");
    EXPECT_EQ(Str(std::int16_t{-7}), "-7");
    EXPECT_EQ(Str(3LL), " 3");
    EXPECT_EQ(Str(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(Str(1.5), " 1.5");
    EXPECT_EQ(Str(0.5), " .5");
    EXPECT_EQ(Str(-0.25), "-.25");
    EXPECT_EQ(Str(-12.75), "-12.75");
    EXPECT_EQ(Str(0.1 + 0.2), " .3");
    EXPECT_EQ(Str(1e15), " 1E+15");
    EXPECT_EQ(Str(0.00001), " 1E-05");
    EXPECT_EQ(Str(Currency::fromRaw(25000)), " 2.5");
    EXPECT_EQ(Str(Currency::fromRaw(-500)), "-.05");
    EXPECT_EQ(Str(Currency::fromInteger(7)), " 7");
}

TEST(StrValIsNumeric, ValReadsTheLeadingNumberAndNeverFails) {
    EXPECT_EQ(Val("  12abc"), 12);
    EXPECT_EQ(Val("1 2 3"), 123);
    EXPECT_EQ(Val("\t-3.5e2x"), -350);
    EXPECT_EQ(Val("1d2"), 100);
    EXPECT_EQ(Val("1e"), 1);
    EXPECT_EQ(Val("1e+"), 1);
    EXPECT_EQ(Val("1,5"), 1);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("5."), 5);
    EXPECT_EQ(Val("+7"), 7);
    EXPECT_EQ(Val("--5"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("1e999"), 0);
    EXPECT_EQ(Val("&HFF"), 255);
    EXPECT_EQ(Val("&hff"), 255);
    EXPECT_EQ(Val("&HFFFF"), -1);
    EXPECT_EQ(Val("&H8000"), -32768);
    EXPECT_EQ(Val("&H10000"), 65536);
    EXPECT_EQ(Val("&HFFFFFFFF"), -1);
    EXPECT_EQ(Val("&H123456789"), 0);
    EXPECT_EQ(Val("&O17"), 15);
    EXPECT_EQ(Val("&HG"), 0);
    EXPECT_EQ(Val("128000"), 128000);
}

TEST(StrValIsNumeric, IsNumericWantsOneWholeNumber) {
    for (const char* yes : {"12", " 12 ", "-1.5", "+3", ".5", "5.", "1e3", "1E-3", "2D2", "&HFF", "000123", "2.5"})
        EXPECT_TRUE(IsNumeric(yes)) << yes;
    for (const char* no : {"", " ", ".", "-", "12a", "1,000", "1 2", "&H", "&HFFFFFFFFF", "1e", "1e999", "$5",
                           "5-", "(5)", "abc"})
        EXPECT_FALSE(IsNumeric(no)) << no;
}

TEST(CharacterStrings, CountCharactersNotBytes) {
    const std::string greek = "Καλημέρα";  // 8 letters, 16 bytes
    EXPECT_EQ(Len(greek), 8u);
    EXPECT_EQ(Len(""), 0u);
    EXPECT_EQ(Len("a\xFF" "b"), 3u);  // a stray byte counts once
    EXPECT_EQ(Mid(greek, 3, 2), "λη");
    EXPECT_EQ(Mid(greek, 5), "μέρα");
    EXPECT_EQ(Mid(greek, 8, 5), "α");
    EXPECT_EQ(Mid(greek, 9), "");
    EXPECT_EQ(Mid(greek, 0, 2), "Κα");  // a start below 1 counts as 1
    EXPECT_EQ(Left(greek, 4), "Καλη");
    EXPECT_EQ(Left(greek, 20), greek);
    EXPECT_EQ(Left(greek, -1), "");
    EXPECT_EQ(Right(greek, 3), "έρα");
    EXPECT_EQ(Right(greek, 99), greek);
    // A table row: characters 8 to 13 hold the track number
    const std::string row = "000001|000042|Τίτλος";
    EXPECT_EQ(Mid(row, 8, 6), "000042");
    EXPECT_EQ(Mid(row, 15), "Τίτλος");
}

TEST(CharacterStrings, InStrGivesCharacterPositions) {
    const std::string s = "Ένα τραγούδι, ένα τραγούδι";
    EXPECT_EQ(InStr(s, "τραγούδι"), 5);
    EXPECT_EQ(InStr(6, s, "τραγούδι"), 19);
    EXPECT_EQ(InStr(s, "ΤΡΑΓΟΎΔΙ"), 0);
    EXPECT_EQ(InStr(s, "ΤΡΑΓΟΎΔΙ", Compare::Text), 5);
    EXPECT_EQ(InStr(s, "ένα"), 15);
    EXPECT_EQ(InStr(s, "ένα", Compare::Text), 1);
    EXPECT_EQ(InStr(s, "x"), 0);
    EXPECT_EQ(InStr(s, ""), 1);
    EXPECT_EQ(InStr(4, "abc", ""), 4);
    EXPECT_EQ(InStr(5, "abc", ""), 0);
    EXPECT_EQ(InStr("", "a"), 0);
    EXPECT_EQ(InStr(99, s, "α"), 0);
    // Case-insensitive search of a collections folder inside a path
    EXPECT_EQ(InStr("/home/Μουσική/TARVOLIN_Sylloges/rock.tlf", "tarvolin_sylloges/", Compare::Text), 15);

    const std::string path = "/μουσική/άλμπουμ/τραγούδι.mp3";
    EXPECT_EQ(InStrRev(path, "/"), 17);
    EXPECT_EQ(InStrRev(path, "/", 16), 9);
    EXPECT_EQ(InStrRev(path, "/", 1), 1);
    EXPECT_EQ(InStrRev(path, "x"), 0);
    EXPECT_EQ(InStrRev(path, "ΆΛΜΠΟΥΜ", -1, Compare::Text), 10);
    EXPECT_EQ(InStrRev("abcabc", "abc", 5), 1);
    EXPECT_EQ(InStrRev("abc", "b", 9), 0);
}

TEST(CharacterStrings, LetterCaseCoversGreekWithAccentsAndFinalSigma) {
    EXPECT_EQ(UCase("καλησπέρας"), "ΚΑΛΗΣΠΈΡΑΣ");
    EXPECT_EQ(UCase("άέήίόύώϊϋ"), "ΆΈΉΊΌΎΏΪΫ");
    EXPECT_EQ(LCase("ΆΈΉΊΌΎΏΪΫ"), "άέήίόύώϊϋ");
    EXPECT_EQ(LCase("ΣΟΦΟΣ"), "σοφοσ");
    EXPECT_EQ(UCase("ΐΰ"), "ΐΰ");
    EXPECT_EQ(UCase("café Straße ÿ"), "CAFÉ STRAßE Ÿ");
    EXPECT_EQ(LCase("CAFÉ ×÷ Ÿ"), "café ×÷ ÿ");
    EXPECT_EQ(UCase("a\xFF" "b"), "A\xFF" "B");
    EXPECT_EQ(Len(UCase("ωραίος")), Len("ωραίος"));
}

TEST(CharacterStrings, TrimSpacePadAndCut) {
    EXPECT_EQ(Trim("  ab c  "), "ab c");
    EXPECT_EQ(LTrim("  ab "), "ab ");
    EXPECT_EQ(RTrim("  ab "), "  ab");
    EXPECT_EQ(Trim("\tab\t"), "\tab\t");  // only blanks
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Space(3), "   ");
    EXPECT_EQ(Space(-2), "");
    EXPECT_EQ(String(3, "Ωx"), "ΩΩΩ");
    EXPECT_EQ(String(100, "*").size(), 100u);
    EXPECT_EQ(String(2, ""), "");

    EXPECT_EQ(PadRight("Καλή", 6), "Καλή  ");
    EXPECT_EQ(PadRight("Καλημέρα", 4), "Καλη");
    EXPECT_EQ(Len(PadRight("Τίτλος", 45)), 45u);
    EXPECT_EQ(PadLeft("7", 3), "  7");
    EXPECT_EQ(PadLeft("12345", 3), "123");

    EXPECT_EQ(CutAtCharBoundary("αβγ", 5), "αβ");
    EXPECT_EQ(CutAtCharBoundary("αβγ", 6), "αβγ");
    EXPECT_EQ(CutAtCharBoundary("αβγ", 1), "");
    EXPECT_EQ(CutAtCharBoundary("abc", 2), "ab");
    EXPECT_EQ(CutAtCharBoundary("a€", 3), "a");  // € takes three bytes
}

TEST(RandomNumbers, UnseededSequenceOfTheOriginalRuntime) {
    RandomGenerator g;
    EXPECT_FLOAT_EQ(g.Rnd(), 0.7055475f);
    EXPECT_FLOAT_EQ(g.Rnd(), 0.533424f);
    EXPECT_FLOAT_EQ(g.Rnd(), 0.5795186f);
    // Each program has its own generator: a new one starts over.
    RandomGenerator other;
    EXPECT_FLOAT_EQ(other.Rnd(), 0.7055475f);
    for (int i = 0; i < 100000; ++i) {
        const float r = g.Rnd();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
}

TEST(DateAndTime, TextsAndTheStoredDate) {
    DateTime t;
    t.year = 2026;
    t.month = 3;
    t.day = 7;
    t.hour = 9;
    t.minute = 5;
    t.second = 0;
    EXPECT_EQ(TimeText(t), "09:05:00");
    EXPECT_EQ(DateText(t), "03-07-2026");
    EXPECT_EQ(Format(t, "hh:mm:ss"), "09:05:00");
    EXPECT_EQ(Format(t, "mm-dd-yyyy"), "03-07-2026");
    EXPECT_THROW(Format(t, "dd/mm/yyyy"), RuntimeError);
    EXPECT_EQ(LogLineText(t, "-> Σώθηκε - Saved"), "09:05:00-> Σώθηκε - Saved\r\n");

    auto d = ParseDateText("02-29-2024");
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->year, 2024);
    EXPECT_EQ(d->month, 2);
    EXPECT_EQ(d->day, 29);
    EXPECT_EQ(d->hour, 0);
    EXPECT_EQ(d->weekday, 4);  // a Thursday
    auto single = ParseDateText("1-2-2027");
    ASSERT_TRUE(single.has_value());
    EXPECT_EQ(single->month, 1);
    EXPECT_EQ(single->day, 2);
    for (const char* bad : {"02-29-2023", "13-01-2024", "00-10-2024", "01-32-2024", "01-02-24", "01/02/2024",
                            "2024-01-02", "", " ", "01-02-2024 ", "1x-02-2024", "001-02-2024"})
        EXPECT_FALSE(ParseDateText(bad).has_value()) << bad;
}

}  // namespace
}  // namespace tarvolin
