#include "data/ado/ConnectionString.h"
#include "tests/ComErrorOf.h"

#include <gtest/gtest.h>

#include "data/ado/ComError.h"

namespace {

using Attrs = std::vector<std::pair<std::string, std::string>>;

Attrs AttributesOf(const ado::ConnectionString& cs) {
  Attrs out;
  for (const auto& a : cs.Attributes()) out.emplace_back(a.key, a.value);
  return out;
}

std::string ErrorOf(std::string_view text) {
  try {
    ado::ConnectionString::Parse(text);
  } catch (const ado::ComError& e) {
    EXPECT_EQ(e.Error(), ado::E_FAIL);
    return e.Description();
  }
  return "no error";
}

TEST(ConnectionStringParse, KeysAreTrimmedAndCaseInsensitive) {
  auto cs = ado::ConnectionString::Parse("  Provider = SQLite ; Data Source= /tmp/a b.db ;;  user id=me;");
  EXPECT_EQ(AttributesOf(cs), (Attrs{{"Provider", "SQLite"}, {"Data Source", "/tmp/a b.db"}, {"user id", "me"}}));
  EXPECT_EQ(cs.Get("PROVIDER"), "SQLite");
  EXPECT_EQ(cs.Get("User ID"), "me");
  EXPECT_FALSE(cs.Has("Password"));
  EXPECT_TRUE(ado::ConnectionString::Parse("").Attributes().empty());
  EXPECT_TRUE(ado::ConnectionString::Parse(" ; ;").Attributes().empty());
}

TEST(ConnectionStringParse, ALaterRepeatReplacesTheValue) {
  auto cs = ado::ConnectionString::Parse("a=1;B=2;A=3");
  EXPECT_EQ(AttributesOf(cs), (Attrs{{"a", "3"}, {"B", "2"}}));
}

TEST(ConnectionStringParse, QuotesBracesAndDoubledCharacters) {
  auto cs = ado::ConnectionString::Parse(
      "A='x;y' ; B=\"say \"\"hi\"\"\";C='it''s';D={PostgreSQL Unicode};E={a}}b;c};F= =x;G= =;H = ' pad ' ;I=a\"b'c");
  EXPECT_EQ(AttributesOf(cs), (Attrs{{"A", "x;y"},
                                     {"B", "say \"hi\""},
                                     {"C", "it's"},
                                     {"D", "PostgreSQL Unicode"},
                                     {"E", "a}b;c"},
                                     {"F", "=x"},
                                     {"G", "="},
                                     {"H", " pad "},
                                     {"I", "a\"b'c"}}));
  // "==" inside a keyword stands for '='.
  cs = ado::ConnectionString::Parse("a==b=c;x===y");
  EXPECT_EQ(AttributesOf(cs), (Attrs{{"a=b", "c"}, {"x=", "y"}}));
}

TEST(ConnectionStringParse, BadSyntaxIsAnError) {
  EXPECT_EQ(ErrorOf("Provider"), "Connection string: keyword 'Provider' without '=' at position 1");
  EXPECT_NE(ErrorOf("a=1;b;c=2").find("keyword 'b' without '='"), std::string::npos);
  EXPECT_NE(ErrorOf("a=1; =2").find("empty keyword at position 6"), std::string::npos);
  EXPECT_NE(ErrorOf("a='x").find("missing closing '"), std::string::npos);
  EXPECT_NE(ErrorOf("a=\"x\"\"").find("missing closing \""), std::string::npos);
  EXPECT_NE(ErrorOf("a={x;b=1").find("missing '}'"), std::string::npos);
  EXPECT_NE(ErrorOf("a='x'y;b=1").find("text after the closing quote"), std::string::npos);
}

TEST(ConnectionStringWrite, ToStringReadsBackTheSameAttributes) {
  ado::ConnectionString cs;
  const Attrs attrs = {{"Provider", "SQLite"}, {"Semi", "a;b"},  {"Quote", "\"q\""},  {"Apos", "'a'"},
                       {"Both", "'\"x\"'"},    {"Pad", "  v  "}, {"Brace", "{x}"},    {"Empty", ""},
                       {"Eq=Key", "v=w"},      {"=Lead", "1"},   {"Mixed", "a'b\"c"}, {"Tab", "\tx"},
                       {"LeadEq", "=x"},       {"Eq", "="}};
  for (const auto& [k, v] : attrs) cs.Set(k, v);
  const std::string text = cs.ToString();
  EXPECT_EQ(AttributesOf(ado::ConnectionString::Parse(text)), attrs) << text;
  const std::string odbc = cs.ToOdbcString();
  EXPECT_EQ(AttributesOf(ado::ConnectionString::Parse(odbc)), attrs) << odbc;
}

TEST(ConnectionStringWrite, PlainValuesStayPlainAndDriversGetBraces) {
  auto cs = ado::ConnectionString::Parse("Driver={PostgreSQL Unicode};Server=localhost;Port=5432;PWD={p;w}}d}");
  EXPECT_EQ(cs.ToOdbcString(), "Driver={PostgreSQL Unicode};Server=localhost;Port=5432;PWD={p;w}}d}");
  EXPECT_EQ(cs.ToString(), "Driver=PostgreSQL Unicode;Server=localhost;Port=5432;PWD=\"p;w}d\"");
}

TEST(ConnectionStringWrite, SetReplacesRemoveDropsAndBadKeysAreRefused) {
  auto cs = ado::ConnectionString::Parse("Provider=SQLite;Data Source=a.db");
  cs.Set("data source", "b.db");
  cs.Set(" Mode ", "Read");
  cs.Remove("PROVIDER");
  EXPECT_EQ(AttributesOf(cs), (Attrs{{"Data Source", "b.db"}, {"Mode", "Read"}}));
  EXPECT_COM_ERROR(cs.Set("a;b", "x"), ado::E_INVALIDARG);
  EXPECT_COM_ERROR(cs.Set("  ", "x"), ado::E_INVALIDARG);
}

TEST(MaskPasswords, HidesEveryPasswordValue) {
  EXPECT_EQ(ado::MaskPasswords("Provider=X;PWD=secret;User ID=u"), "Provider=X;PWD=***;User ID=u");
  EXPECT_EQ(ado::MaskPasswords("password='a;b' ; uid=u"), "password=***; uid=u");
  EXPECT_EQ(ado::MaskPasswords("Pwd={x}};y};Server=s"), "Pwd=***;Server=s");
  EXPECT_EQ(ado::MaskPasswords("Jet OLEDB:Database Password=x;Data Source=d"),
            "Jet OLEDB:Database Password=***;Data Source=d");
  EXPECT_EQ(ado::MaskPasswords("PassWord = x ;pwd=y;PWD=z"), "PassWord = ***;pwd=***;PWD=***");
  EXPECT_EQ(ado::MaskPasswords("Server=s;Pwd="), "Server=s;Pwd=");
}

TEST(MaskPasswords, WorksOnTextThatDoesNotParse) {
  EXPECT_EQ(ado::MaskPasswords("PWD='abc;def"), "PWD=***");
  EXPECT_EQ(ado::MaskPasswords("broken;PWD='x'junk;Server=s"), "broken;PWD=***;Server=s");
  EXPECT_EQ(ado::MaskPasswords("Login failed for 'Server=s;PWD=hunter2'"), "Login failed for 'Server=s;PWD=***");
  EXPECT_EQ(ado::MaskPasswords("no passwords here"), "no passwords here");
}

}  // namespace
