// The built-ins' text and number routines against the Free Pascal run-time
// library: tests/fixtures/script/pascal-golden.tsv, written by the committed
// generator PascalGolden.pas beside it.
#include "script/BuiltinRoutines.h"

#include "script/DErevAzozev.h"
#include "text/CharEX.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace vrk {
namespace {

std::string unhex(const std::string& hex) {
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}

double real(const std::string& bits) {
  return std::bit_cast<double>(std::stoull(bits, nullptr, 16));
}

std::string hex(std::string_view bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) {
    out.push_back(digits[static_cast<unsigned char>(c) >> 4]);
    out.push_back(digits[static_cast<unsigned char>(c) & 15]);
  }
  return out;
}

std::string bitsOf(double value) {
  if (std::isnan(value)) return "NAN";
  char buffer[17];
  std::snprintf(buffer, sizeof buffer, "%016llX",
                static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(value)));
  return buffer;
}

std::string expectedReal(const std::string& bits) { return bitsOf(real(bits)); }

// A string as script text: character codes, so that any byte goes in.
std::string literal(std::string_view bytes) {
  if (bytes.empty()) return "''";
  std::string out;
  for (const char c : bytes) out += "#" + std::to_string(static_cast<unsigned char>(c));
  return out;
}

// An integer as script text: 16 hexadecimal digits reach every 64-bit value.
std::string literal(long long value) {
  char buffer[20];
  std::snprintf(buffer, sizeof buffer, "$%016llX", static_cast<unsigned long long>(value));
  return buffer;
}

// What the script prints.
std::string run(const std::string& statement) {
  DErevAzozev script;
  script.DeclarePrototype.push_back("procedure Print(S:String);Index 1;");
  std::string printed;
  script.ProcParam = [&](const std::string&, int, const ScriptArguments& a, int&) {
    printed = a.at(0).strValue;
  };
  script.Source.push_back(statement);
  try {
    script.Execute();
  } catch (const ScriptError& e) {
    return std::string("error ") + e.what();
  }
  return printed;
}

// Our answer for one case, in the table's notation: the text and integer
// routines run as script built-ins, the real ones (whose arguments and
// results are bit patterns) are called directly.
std::string answer(const std::vector<std::string>& f) {
  const std::string& r = f[0];
  const auto s = [&](std::size_t k) { return literal(unhex(f[k])); };
  const auto i = [&](std::size_t k) { return literal(std::stoll(f[k])); };
  if (r == "Copy" || r == "Delete")
    return hex(run("Print(" + r + "(" + s(1) + ", " + i(2) + ", " + i(3) + "))"));
  if (r == "Insert") return hex(run("Print(Insert(" + s(1) + ", " + s(2) + ", " + i(3) + "))"));
  if (r == "IntToStr") return hex(run("Print(IntToStr(" + i(1) + "))"));
  if (r == "Trim" || r == "TrimLeft" || r == "TrimRight" || r == "LowerCase" || r == "UpperCase")
    return hex(run("Print(" + r + "(" + s(1) + "))"));
  if (r == "CompareStr" || r == "Pos")
    return run("Print(IntToStr(" + r + "(" + s(1) + ", " + s(2) + ")))");
  if (r == "StrToInt") return run("Print(IntToStr(StrToInt(" + s(1) + ")))");
  if (r == "StrToFloat") return bitsOf(textToReal_(unhex(f[1])).value_or(0.0));
  if (r == "FloatToStr") return hex(floatToStr_(real(f[1])));
  if (r == "Frac") return bitsOf(fracOf_(real(f[1])));
  if (r == "Int") return bitsOf(intOf_(real(f[1])));
  if (r == "Trunc") return std::to_string(truncToInteger_(real(f[1])).value());
  if (r == "Round") return std::to_string(roundToInteger_(real(f[1])).value());
  return "unknown routine";
}

bool isRealResult(const std::string& r) { return r == "StrToFloat" || r == "Frac" || r == "Int"; }

TEST(BuiltinRoutines, AgreeWithFreePascal) {
  std::ifstream in(VRK_FIXTURES "/script/pascal-golden.tsv");
  ASSERT_TRUE(in) << "pascal-golden.tsv is missing";
  std::map<std::string, int> countOf;
  int failures = 0;
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> f;
    std::stringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
    if (line.back() == '\t') f.emplace_back();  // an empty result
    ASSERT_GE(f.size(), 4u) << line;
    ASSERT_EQ(f[f.size() - 2], "=") << line;
    const std::string expected = isRealResult(f[0]) ? expectedReal(f.back()) : f.back();
    f.resize(f.size() - 2);
    const std::string got = answer(f);
    ++countOf[f[0]];
    if (got != expected && ++failures <= 20)
      ADD_FAILURE() << line << "\n  ours: " << got << "\n  Free Pascal: " << expected;
  }
  EXPECT_EQ(failures, 0);
  // Every routine of the generator is in the table.
  for (const char* r : {"Copy", "Delete", "Insert", "IntToStr", "Trim", "TrimLeft", "TrimRight",
                        "LowerCase", "UpperCase", "CompareStr", "Pos", "StrToInt", "StrToFloat",
                        "FloatToStr", "Frac", "Int", "Trunc", "Round"})
    EXPECT_GT(countOf[r], 0) << r;
}

}  // namespace
}  // namespace vrk
