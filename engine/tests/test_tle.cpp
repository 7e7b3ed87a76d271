// TLE lines and TLE memory. References: the element lines themselves (each field's value is the
// decimal text of its columns, by the format's definition: CelesTrak "NORAD Two-Line Element Set
// Format"; Vallado et al. 2006, Appendix B), Space-Track's Alpha-5 table, the Gregorian calendar
// for epochs, and real catalogs (engine/tests/data/SOURCES.md) for reading and writing back.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/dllmain.h"
#include "engine/tle.h"

namespace {

std::string LastError() {
  char buf[ENGINE_TEXT_BUF] = {};
  GetLastErrMsg(buf);
  return buf;
}

struct Parsed {
  int status;
  std::array<double, XA_TLE_SIZE> xa{};
  std::string xs;
};

Parsed Parse(const std::string& l1, const std::string& l2) {
  Parsed p{};
  char xs[ENGINE_TEXT_BUF];
  std::memset(xs, 0, sizeof xs);
  p.status = TleLinesToArray(l1.c_str(), l2.c_str(), p.xa.data(), xs);
  p.xs = xs;
  return p;
}

std::pair<std::string, std::string> Write(const double* xa, const std::string& xs) {
  char l1[ENGINE_TEXT_BUF] = {}, l2[ENGINE_TEXT_BUF] = {};
  EXPECT_EQ(TleGPArrayToLines(xa, xs.c_str(), l1, l2), 0) << LastError();
  return {l1, l2};
}

const std::string kL1 = "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753";
const std::string kL2 = "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667";

// ---- Reading: every field of a published TLE ------------------------------------------------

TEST(TleLinesToArray, ReadsEveryFieldOfTheVerificationTle00005) {
  const Parsed p = Parse(kL1, kL2);
  ASSERT_EQ(p.status, 0) << LastError();
  EXPECT_EQ(p.xa[XA_TLE_SATNUM], 5.0);
  // 2000 day 179.78495062: 2000 January 0.0 is ds50 18262 (50 years of 365 days plus the 12
  // leap days 1952-1996), i.e. JD 2451543.5.
  EXPECT_NEAR(p.xa[XA_TLE_EPOCH], 18262.0 + 179.78495062, 1e-9);  // rounding of one addition
  EXPECT_DOUBLE_EQ(p.xa[XA_TLE_NDOT], 0.00000023);
  EXPECT_DOUBLE_EQ(p.xa[XA_TLE_NDOTDOT], 0.0);
  EXPECT_DOUBLE_EQ(p.xa[XA_TLE_BSTAR], 0.28098e-4);
  EXPECT_EQ(p.xa[XA_TLE_EPHTYPE], 0.0);
  EXPECT_EQ(p.xa[XA_TLE_ELSETNUM], 475.0);
  EXPECT_DOUBLE_EQ(p.xa[XA_TLE_INCLI], 34.2682);
  EXPECT_DOUBLE_EQ(p.xa[XA_TLE_NODE], 348.7242);
  EXPECT_DOUBLE_EQ(p.xa[XA_TLE_ECCEN], 0.1859667);
  EXPECT_DOUBLE_EQ(p.xa[XA_TLE_OMEGA], 331.7664);
  EXPECT_DOUBLE_EQ(p.xa[XA_TLE_MNANOM], 19.3264);
  EXPECT_DOUBLE_EQ(p.xa[XA_TLE_MNMOTN], 10.82419157);
  EXPECT_EQ(p.xa[XA_TLE_REVNUM], 41366.0);
  EXPECT_EQ(p.xs, "U58002B       ");  // class, designator padded to 12, blank object type
  EXPECT_EQ(p.xs.size(), 14u);
  EXPECT_EQ(p.xs[XS_TLE_SECCLASS_0_1], 'U');
  EXPECT_EQ(p.xs.substr(XS_TLE_SATNAME_1_12, 12), "58002B      ");
}

struct ImpliedCase {
  const char* field;  // columns 45-52 of line 1
  double value;
};

class ImpliedExponent : public ::testing::TestWithParam<ImpliedCase> {};

// Implied leading point and power of ten, as the format defines them.
TEST_P(ImpliedExponent, ReadsTheSecondDerivativeField) {
  std::string l1 = kL1;
  l1.replace(44, 8, GetParam().field);
  const Parsed p = Parse(l1, kL2);
  ASSERT_EQ(p.status, 0) << LastError();
  EXPECT_DOUBLE_EQ(p.xa[XA_TLE_NDOTDOT], GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ImpliedExponent,
    ::testing::Values(ImpliedCase{" 28098-4", 0.28098e-4}, ImpliedCase{"-11606-4", -0.11606e-4},
                      ImpliedCase{"-30915-6", -0.30915e-6}, ImpliedCase{" 13844-3", 0.13844e-3},
                      ImpliedCase{"+00000-0", 0.0}, ImpliedCase{" 00000+0", 0.0},
                      ImpliedCase{" 12345+1", 1.2345}, ImpliedCase{"   123-5", 0.00123e-5}));

struct Alpha5Case {
  const char* text;
  double number;
};

class Alpha5 : public ::testing::TestWithParam<Alpha5Case> {};

// Space-Track's Alpha-5 scheme: a letter for the hundred-thousands (A = 10 ... Z = 33, I and O
// not used) and four digits.
TEST_P(Alpha5, ReadsAndWritesTheSatelliteNumber) {
  std::string l1 = kL1, l2 = kL2;
  l1.replace(2, 5, GetParam().text);
  l2.replace(2, 5, GetParam().text);
  const Parsed p = Parse(l1, l2);
  ASSERT_EQ(p.status, 0) << LastError();
  EXPECT_EQ(p.xa[XA_TLE_SATNUM], GetParam().number);
  const auto [w1, w2] = Write(p.xa.data(), p.xs);
  EXPECT_EQ(w1.substr(2, 5), GetParam().text);
  EXPECT_EQ(w2.substr(2, 5), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Numbers, Alpha5,
                         ::testing::Values(Alpha5Case{"00005", 5}, Alpha5Case{"99999", 99999},
                                           Alpha5Case{"A0000", 100000}, Alpha5Case{"E8493", 148493},
                                           Alpha5Case{"H9999", 179999}, Alpha5Case{"J0000", 180000},
                                           Alpha5Case{"N9999", 229999}, Alpha5Case{"P0000", 230000},
                                           Alpha5Case{"T0000", 270000},
                                           Alpha5Case{"Z9999", 339999}));

TEST(TleLinesToArray, ReadsBlankPaddedNumbersAndIgnoresTextAfterColumn69) {
  std::string l1 = kL1, l2 = kL2;
  l1.replace(2, 5, "    5");
  l2.replace(2, 5, "    5");
  l2 += "      0.00      4320.0        360.00\r\n";
  const Parsed p = Parse(l1, l2);
  ASSERT_EQ(p.status, 0) << LastError();
  EXPECT_EQ(p.xa[XA_TLE_SATNUM], 5.0);
  EXPECT_EQ(p.xa[XA_TLE_REVNUM], 41366.0);
}

// Type 4 (XP): the B-term sits in the B* columns and AGOM in the second-derivative columns.
TEST(TleLinesToArray, TypeFourPutsBTermAndAgomInTheirSlotsAndWritesThemBack) {
  const std::string l1 = "1 25544U 98067A   20274.51782528  .00000864  12345-5  23775-1 4  9993";
  const std::string l2 = "2 25544  51.6454 210.2768 0001352  88.8790  28.7406 15.48790046248560";
  const Parsed p = Parse(l1, l2);
  ASSERT_EQ(p.status, 0) << LastError();
  EXPECT_EQ(p.xa[XA_TLE_EPHTYPE], TLETYPE_XP);
  EXPECT_DOUBLE_EQ(p.xa[XA_TLE_BTERM], 0.23775e-1);
  EXPECT_DOUBLE_EQ(p.xa[XA_TLE_AGOMGP], 0.12345e-5);
  EXPECT_DOUBLE_EQ(p.xa[XA_TLE_NDOT], 0.00000864);
  EXPECT_EQ(p.xa[XA_TLE_BSTAR], 0.0);
  EXPECT_EQ(p.xa[XA_TLE_NDOTDOT], 0.0);
  const auto [w1, w2] = Write(p.xa.data(), p.xs);
  EXPECT_EQ(w1.substr(0, 68), l1.substr(0, 68));
  EXPECT_EQ(w2, l2);
}

// ---- Reading: malformed lines fail with a message naming the columns -----------------------

struct BadCase {
  const char* name;
  int line;    // 1 or 2
  int column;  // 1-based column to overwrite, 0 to truncate to `text`'s length
  const char* text;
  const char* message;  // expected start or part of the message
};

class MalformedLines : public ::testing::TestWithParam<BadCase> {};

TEST_P(MalformedLines, FailWithAMessageNamingTheColumns) {
  const BadCase& c = GetParam();
  std::string l1 = kL1, l2 = kL2;
  std::string& l = c.line == 1 ? l1 : l2;
  if (c.column == 0) {
    l = l.substr(0, std::strlen(c.text));
  } else {
    l.replace(static_cast<std::size_t>(c.column - 1), std::strlen(c.text), c.text);
  }
  const Parsed p = Parse(l1, l2);
  EXPECT_NE(p.status, 0);
  EXPECT_NE(LastError().find(c.message), std::string::npos) << LastError();
  for (double v : p.xa) EXPECT_EQ(v, 0.0);  // outputs are cleared on failure
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedLines,
    ::testing::Values(
        BadCase{"epoch", 1, 19, "0017a",
                "Line 1, columns 19-32: cannot read epoch \"0017a.78495062\""},
        BadCase{"epochnan", 1, 21, "nan.78495062", "Line 1, columns 19-32: cannot read epoch"},
        BadCase{"ndot", 1, 34, " .0000x023", "Line 1, columns 34-43: cannot read first derivative"},
        BadCase{"bstar", 1, 54, " 2809e-4", "Line 1, columns 54-61: cannot read drag term"},
        BadCase{"class", 1, 8, "X", "Line 1, column 8: cannot read classification"},
        BadCase{"type", 1, 63, "3", "Line 1, column 63: cannot read ephemeris type"},
        BadCase{"incl", 2, 9, "     nan", "Line 2, columns 9-16: cannot read inclination"},
        BadCase{"ecc", 2, 27, "18-9667", "Line 2, columns 27-33: cannot read eccentricity"},
        BadCase{"n", 2, 53, "10.82e19157", "Line 2, columns 53-63: cannot read mean motion"},
        BadCase{"satnum", 2, 3, "00006", "Line 2, columns 3-7: satellite number \"00006\" differs"},
        BadCase{"alpha", 1, 3, "I0000", "Line 1, columns 3-7: cannot read satellite number"},
        BadCase{"lineno", 2, 1, "3", "Line 2, column 1: expected line number 2"},
        BadCase{"short", 1, 0, "1 00005U 58002B   00179.78495062  .00000023  00000-0",
                "Line 1 has 52 columns: a TLE line needs 69"},
        BadCase{"empty", 2, 0, "", "Line 2 has 0 columns"},
        BadCase{"utf8", 1, 10, "\xc3\xa9",
                "Line 1, column 10: character 0xC3 is not printable ASCII"}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(TleLinesToArray, NullLinesFailWithAMessage) {
  double xa[XA_TLE_SIZE];
  char xs[ENGINE_TEXT_BUF];
  EXPECT_NE(TleLinesToArray(nullptr, kL2.c_str(), xa, xs), 0);
  EXPECT_EQ(LastError(), "Line 1 is missing (null pointer)");
}

// A text without NUL within 512 bytes is read as its first 512 bytes, never beyond.
TEST(TleLinesToArray, ReadsAtMost512Bytes) {
  std::vector<char> long_line(600, ' ');
  std::memcpy(long_line.data(), kL2.data(), kL2.size());
  double xa[XA_TLE_SIZE];
  char xs[ENGINE_TEXT_BUF];
  // No NUL anywhere in the 600 bytes (the buffer's end is not a string end).
  long_line.back() = 'x';
  EXPECT_EQ(TleLinesToArray(kL1.c_str(), long_line.data(), xa, xs), 0) << LastError();
}

// Lines damaged at random (any byte, including NUL and bytes above 0x7F, cut anywhere): the
// reader either fails with a message or returns finite values that write back to lines it
// reads again. Under the sanitizer job this also shows that no byte is read out of bounds.
TEST(TleLinesToArray, DamagedLinesFailCleanlyOrRoundTrip) {
  std::uint32_t seed = 12345;
  const auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;  // Numerical Recipes LCG: deterministic runs
    return seed >> 8;
  };
  int failures = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    std::string l1 = kL1, l2 = kL2;
    std::string& l = next() % 2 ? l1 : l2;
    for (int k = 0, n = 1 + static_cast<int>(next() % 3); k < n; ++k) {
      const std::size_t at = next() % l.size();
      const unsigned r = next() % 16;
      if (r == 0) {
        l.resize(at);  // cut short
      } else if (r < 4) {
        l[at] = static_cast<char>(next() % 256);  // any byte
      } else {
        l[at] = "0123456789 +-.Ae"[next() % 16];  // plausible characters
      }
      if (l.empty()) break;
    }
    const Parsed p = Parse(l1, l2);
    if (p.status != 0) {
      ++failures;
      EXPECT_FALSE(LastError().empty());
      continue;
    }
    for (double v : p.xa) ASSERT_TRUE(std::isfinite(v)) << l1 << "\n" << l2;
    char w1[ENGINE_TEXT_BUF], w2[ENGINE_TEXT_BUF];
    if (TleGPArrayToLines(p.xa.data(), p.xs.c_str(), w1, w2) == 0) {
      EXPECT_EQ(Parse(w1, w2).status, 0) << w1 << "\n" << w2 << "\n" << LastError();
    }
  }
  EXPECT_GT(failures, 100);  // the damage is real: many lines are refused
}

// ---- Writing -------------------------------------------------------------------------------

TEST(TleGPArrayToLines, WritesTheVerificationTleBackExactly) {
  const Parsed p = Parse(kL1, kL2);
  ASSERT_EQ(p.status, 0);
  const auto [w1, w2] = Write(p.xa.data(), p.xs);
  EXPECT_EQ(w1, kL1);
  EXPECT_EQ(w2, kL2);
}

TEST(TleGPArrayToLines, WritesFromAModuleBuiltArrayWithAShortXsText) {
  // As a caller builds it: the classification letter and the designator only.
  std::array<double, XA_TLE_SIZE> xa{};
  xa[XA_TLE_SATNUM] = 25544;
  xa[XA_TLE_EPOCH] = 25567.0 + 275.51782528;  // 2020 January 0.0 is ds50 25567
  xa[XA_TLE_EPHTYPE] = 2;
  xa[XA_TLE_BSTAR] = -1.5e-5;
  xa[XA_TLE_INCLI] = 51.6454;
  xa[XA_TLE_ECCEN] = 0.0001352;
  xa[XA_TLE_MNMOTN] = 15.4879;
  const auto [w1, w2] = Write(xa.data(), "C98067A");
  EXPECT_EQ(w1, "1 25544C 98067A   20275.51782528  .00000000  00000-0 -15000-4 2    00");
  EXPECT_EQ(w2, "2 25544  51.6454   0.0000 0001352   0.0000   0.0000 15.48790000    02");
}

struct UnwritableCase {
  const char* name;
  int slot;
  double value;
  const char* message;
};

class UnwritableArrays : public ::testing::TestWithParam<UnwritableCase> {};

TEST_P(UnwritableArrays, FailWithAMessageAndEmptyLines) {
  Parsed p = Parse(kL1, kL2);
  p.xa[static_cast<std::size_t>(GetParam().slot)] = GetParam().value;
  char l1[ENGINE_TEXT_BUF] = "x", l2[ENGINE_TEXT_BUF] = "y";
  EXPECT_NE(TleGPArrayToLines(p.xa.data(), p.xs.c_str(), l1, l2), 0);
  EXPECT_NE(LastError().find(GetParam().message), std::string::npos) << LastError();
  EXPECT_STREQ(l1, "");
  EXPECT_STREQ(l2, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnwritableArrays,
    ::testing::Values(UnwritableCase{"ecc", XA_TLE_ECCEN, 1.0, "eccentricity"},
                      UnwritableCase{"satnum", XA_TLE_SATNUM, 340000, "satellite number 340000"},
                      UnwritableCase{"type", XA_TLE_EPHTYPE, 3, "ephemeris type"},
                      UnwritableCase{"nan", XA_TLE_INCLI, std::nan(""), "slot 20 is not a finite"},
                      UnwritableCase{"ndot", XA_TLE_NDOT, 1.5, "first derivative of mean motion"},
                      UnwritableCase{"year", XA_TLE_EPOCH, 40000.0, "epoch year 2059"},
                      UnwritableCase{"exp", XA_TLE_BSTAR, 1e12, "does not fit"}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

// ---- Check sums ----------------------------------------------------------------------------

TEST(GetCheckSums, CountsDigitsAndMinusSignsModuloTen) {
  int cs1 = -1, cs2 = -1, err = -1;
  ASSERT_EQ(GetCheckSums(kL1.c_str(), kL2.c_str(), &cs1, &cs2, &err), 0);
  EXPECT_EQ(err, 0);
  EXPECT_EQ(cs1, 3);  // column 69 of the published line
  EXPECT_EQ(cs2, 7);
  EXPECT_NE(GetCheckSums(kL1.substr(0, 60).c_str(), kL2.c_str(), &cs1, &cs2, &err), 0);
  EXPECT_EQ(err, 1);
  EXPECT_NE(LastError().find("Line 1 has 60 columns"), std::string::npos);
}

// ---- Real catalogs: read, write back, check sums -------------------------------------------

struct ElementLines {
  std::string line1, line2;
};

std::vector<ElementLines> ReadCatalog(const std::string& name) {
  std::ifstream in(std::string(TLE_TEST_DATA) + "/" + name, std::ios::binary);
  std::stringstream buf;
  buf << in.rdbuf();
  std::vector<std::string> lines;
  std::string line;
  std::istringstream text(buf.str());
  while (std::getline(text, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  std::vector<ElementLines> out;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i].rfind("1 ", 0) == 0 && lines[i + 1].rfind("2 ", 0) == 0) {
      out.push_back({lines[i], lines[i + 1]});
      ++i;
    }
  }
  return out;
}

int CheckSumOf(const std::string& line) {
  int cs1 = 0, cs2 = 0, err = 0;
  GetCheckSums(line.c_str(), line.c_str(), &cs1, &cs2, &err);
  return cs1;
}

// The documented normalisations of written lines (docs/engine.md): zero-padded satellite
// numbers, no '+' signs, a zero exponent field written " 00000-0", angles without leading
// zeros; the check sum is then that of the normalised line.
std::string Normalise(std::string l) {
  if (l[0] == '1') {
    if (l[33] == '+') l[33] = ' ';
    for (std::size_t at : {44u, 53u}) {
      if (l[at] == '+') l[at] = ' ';
      if (l.compare(at + 1, 7, "00000+0") == 0) l.replace(at + 1, 7, "00000-0");
    }
  } else {
    for (std::size_t at : {8u, 17u, 34u, 43u}) {
      for (std::size_t k = at; k < at + 2 && l[k] == '0' && l[k + 1] != '.'; ++k) l[k] = ' ';
    }
  }
  for (std::size_t k = 2; k < 7 && l[k] == ' '; ++k) l[k] = '0';
  l = l.substr(0, 68);
  l += static_cast<char>('0' + CheckSumOf(l + "0"));
  return l;
}

class Catalogs : public ::testing::TestWithParam<const char*> {};

TEST_P(Catalogs, ReadAndWrittenBackAsPublishedModuloTheNormalisations) {
  const std::vector<ElementLines> sets = ReadCatalog(GetParam());
  ASSERT_GT(sets.size(), 300u);
  int written_verbatim = 0;
  for (const ElementLines& e : sets) {
    const Parsed p = Parse(e.line1, e.line2);
    ASSERT_EQ(p.status, 0) << e.line1 << ": " << LastError();
    const auto [w1, w2] = Write(p.xa.data(), p.xs);
    EXPECT_EQ(w1, Normalise(e.line1));
    EXPECT_EQ(w2, Normalise(e.line2));
    written_verbatim += (w1 == e.line1 && w2 == e.line2) ? 1 : 0;
    // The catalogs' own check sums are right, and GetCheckSums finds them.
    int cs1 = -1, cs2 = -1, err = -1;
    ASSERT_EQ(GetCheckSums(e.line1.c_str(), e.line2.c_str(), &cs1, &cs2, &err), 0);
    EXPECT_EQ(cs1, e.line1[68] - '0') << e.line1;
    EXPECT_EQ(cs2, e.line2[68] - '0') << e.line2;
  }
  // Nearly every set needs no normalisation at all (30 of 3,062 in the 2020 catalog carry a
  // zero B* written "00000+0").
  EXPECT_GT(written_verbatim, static_cast<int>(sets.size()) * 8 / 10);
}

INSTANTIATE_TEST_SUITE_P(Files, Catalogs,
                         ::testing::Values("catalog-20200930.tle",
                                           "catalog-20220122-alpha5-excerpt.tle"));

TEST(Catalogs, Alpha5NumbersOfTheSpaceTrackCatalog) {
  const std::vector<ElementLines> sets = ReadCatalog("catalog-20220122-alpha5-excerpt.tle");
  int alpha5 = 0;
  for (const ElementLines& e : sets) {
    if (e.line1[2] != 'T') continue;
    ++alpha5;
    const Parsed p = Parse(e.line1, e.line2);
    ASSERT_EQ(p.status, 0);
    EXPECT_EQ(p.xa[XA_TLE_SATNUM], 270000 + std::stoi(e.line1.substr(3, 4)));
  }
  EXPECT_EQ(alpha5, 278);  // T0000 to T0288 with gaps, as counted in the source file
}

// ---- Memory --------------------------------------------------------------------------------

class TleMemory : public ::testing::Test {
 protected:
  void SetUp() override { TleRemoveAllSats(); }
  void TearDown() override {
    TleRemoveAllSats();
    SetAllKeyMode(KEYMODE_NODUP);
  }
};

TEST_F(TleMemory, DirectMemoryAccessGivesEveryAddANewPositiveKey) {
  ASSERT_EQ(SetAllKeyMode(KEYMODE_DMA), 0);
  const Parsed p = Parse(kL1, kL2);
  const int64_t k1 = TleAddSatFrArray(p.xa.data(), p.xs.c_str());
  const int64_t k2 = TleAddSatFrArray(p.xa.data(), p.xs.c_str());
  EXPECT_GT(k1, 0);
  EXPECT_GT(k2, 0);
  EXPECT_NE(k1, k2);
  EXPECT_EQ(TleGetCount(), 2);
  std::array<double, XA_TLE_SIZE> back{};
  char xs[ENGINE_TEXT_BUF];
  ASSERT_EQ(TleDataToArray(k2, back.data(), xs), 0);
  EXPECT_EQ(back, p.xa);
  EXPECT_EQ(std::string(xs), p.xs);
  EXPECT_EQ(TleRemoveSat(k1), 0);
  EXPECT_EQ(TleGetCount(), 1);
  EXPECT_NE(TleDataToArray(k1, back.data(), xs), 0);
  EXPECT_EQ(LastError(), "TLE key " + std::to_string(k1) + " is not loaded");
  EXPECT_NE(TleRemoveSat(k1), 0);
  EXPECT_EQ(TleRemoveAllSats(), 0);
  EXPECT_EQ(TleGetCount(), 0);
}

TEST_F(TleMemory, NoDuplicatesRefusesASecondSetWithTheSameNumberAndEpoch) {
  ASSERT_EQ(SetAllKeyMode(KEYMODE_NODUP), 0);
  const int64_t k1 = TleAddSatFrLines(kL1.c_str(), kL2.c_str());
  ASSERT_GT(k1, 0) << LastError();
  EXPECT_EQ(TleAddSatFrLines(kL1.c_str(), kL2.c_str()), -1);
  EXPECT_NE(LastError().find("TLE of satellite 5 at epoch"), std::string::npos) << LastError();
  EXPECT_NE(LastError().find("already loaded under key " + std::to_string(k1)), std::string::npos);
  // Another epoch of the same satellite is a different set.
  std::string other = kL1;
  other.replace(18, 14, "00180.78495062");
  EXPECT_GT(TleAddSatFrLines(other.c_str(), kL2.c_str()), k1);
  // Once removed, the set may be added again, under a key never used before.
  ASSERT_EQ(TleRemoveSat(k1), 0);
  EXPECT_GT(TleAddSatFrLines(kL1.c_str(), kL2.c_str()), k1);
}

TEST_F(TleMemory, RefusesArraysItCannotHold) {
  Parsed p = Parse(kL1, kL2);
  p.xa[XA_TLE_EPHTYPE] = 3;
  EXPECT_EQ(TleAddSatFrArray(p.xa.data(), p.xs.c_str()), -1);
  EXPECT_NE(LastError().find("ephemeris type 3"), std::string::npos);
  p.xa[XA_TLE_EPHTYPE] = TLETYPE_SP;  // type 6 is held (SGP4 refuses it later)
  EXPECT_GT(TleAddSatFrArray(p.xa.data(), p.xs.c_str()), 0);
  p.xa[XA_TLE_INCLI] = std::nan("");
  EXPECT_EQ(TleAddSatFrArray(p.xa.data(), p.xs.c_str()), -1);
  EXPECT_NE(LastError().find("slot 20"), std::string::npos);
  EXPECT_EQ(TleAddSatFrLines("1 00005", kL2.c_str()), -1);
  EXPECT_NE(LastError().find("Line 1 has 7 columns"), std::string::npos);
}

// Readers run while writers add and remove other keys; every read sees the set it loaded,
// whole. (Run under TSan in the sanitizer job.)
TEST_F(TleMemory, ManyReadersWhileKeysAreAddedAndRemoved) {
  ASSERT_EQ(SetAllKeyMode(KEYMODE_DMA), 0);
  const Parsed p = Parse(kL1, kL2);
  const int64_t key = TleAddSatFrArray(p.xa.data(), p.xs.c_str());
  std::atomic<bool> stop{false};
  std::atomic<int> bad{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      std::array<double, XA_TLE_SIZE> xa{};
      char xs[ENGINE_TEXT_BUF];
      for (int i = 0; i < 20000; ++i) {
        if (TleDataToArray(key, xa.data(), xs) != 0 || xa != p.xa) ++bad;
      }
    });
  }
  threads.emplace_back([&] {
    for (int i = 0; i < 5000 && !stop; ++i) {
      const int64_t k = TleAddSatFrArray(p.xa.data(), p.xs.c_str());
      if (k <= 0 || TleRemoveSat(k) != 0) ++bad;
    }
  });
  for (auto& t : threads) t.join();
  EXPECT_EQ(bad.load(), 0);
  EXPECT_EQ(TleGetCount(), 1);
}

}  // namespace
