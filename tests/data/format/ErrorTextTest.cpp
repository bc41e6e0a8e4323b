#include "data/ErrorText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

namespace {
TEST(ComErrorText, DescriptionOfTheErrorInformationWins) {
  EXPECT_EQ(ComErrorText(ado::ComError(ado::E_FAIL, "no such table: t", "SQLite")), "no such table: t");
}

TEST(ComErrorText, EmptyDescriptionFallsBackToTheMessageTable) {
  EXPECT_EQ(ComErrorText(ado::ComError(ado::E_FAIL, "")), "Unspecified error");
}

TEST(ComErrorText, MessageTableTextWithoutErrorInformation) {
  EXPECT_EQ(ComErrorText(ado::ComError(ado::E_POINTER)), "Invalid pointer");
  EXPECT_EQ(ComErrorText(ado::ComError(ado::E_INVALIDARG)), "The parameter is incorrect.");
  EXPECT_EQ(ComErrorText(ado::ComError(ado::DISP_E_TYPEMISMATCH)), "Type mismatch.");
  EXPECT_EQ(ComErrorText(ado::ComError(ado::DISP_E_OVERFLOW)), "Out of present range.");
  EXPECT_EQ(ComErrorText(ado::ComError(ado::adErrObjectClosed)), "Operation is not allowed when the object is closed.");
  EXPECT_EQ(ComErrorText(ado::ComError(ado::adErrNoCurrentRecord)),
            "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a "
            "current record.");
  // The OLE DB code is explained in words, never by its symbolic name.
  EXPECT_EQ(ComErrorText(ado::ComError(ado::DB_E_ERRORSOCCURRED)),
            "Multiple-step operation generated errors. Check each status value.");
}

TEST(ComErrorText, EveryRaisedCodeHasTextWithoutALineBreak) {
  const ado::HRESULT codes[] = {ado::S_OK,
                                ado::S_FALSE,
                                ado::E_NOTIMPL,
                                ado::E_NOINTERFACE,
                                ado::E_POINTER,
                                ado::E_ABORT,
                                ado::E_FAIL,
                                ado::E_UNEXPECTED,
                                ado::E_OUTOFMEMORY,
                                ado::E_INVALIDARG,
                                ado::REGDB_E_CLASSNOTREG,
                                ado::DISP_E_BADVARTYPE,
                                ado::DISP_E_OVERFLOW,
                                ado::DISP_E_TYPEMISMATCH,
                                ado::adErrInvalidArgument,
                                ado::adErrNoCurrentRecord,
                                ado::adErrIllegalOperation,
                                ado::adErrFeatureNotAvailable,
                                ado::adErrItemNotFound,
                                ado::adErrDataConversion,
                                ado::adErrObjectClosed,
                                ado::adErrObjectOpen,
                                ado::adErrProviderNotFound,
                                ado::adErrInvalidConnection,
                                ado::DB_E_CANTCONVERTVALUE,
                                ado::DB_E_ERRORSINCOMMAND,
                                ado::DB_E_ERRORSOCCURRED,
                                ado::DB_E_INTEGRITYVIOLATION,
                                ado::DB_E_NOTABLE,
                                ado::DB_E_CONCURRENCYVIOLATION,
                                ado::DB_E_DATAOVERFLOW,
                                ado::DB_SEC_E_AUTH_FAILED};
  std::set<std::string> texts;
  for (ado::HRESULT code : codes) {
    const std::string text = ado::SystemMessageText(code);
    EXPECT_FALSE(text.empty()) << std::hex << code;
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
    texts.insert(text);
  }
  EXPECT_EQ(texts.size(), std::size(codes)) << "two codes share one text";
}

TEST(ComErrorText, UnknownCodesInTheInterfaceRangeAreNumbered) {
  EXPECT_EQ(ComErrorText(ado::ComError(ado::MakeHResult(0x80040E22u))), "IDispatch error #3106");
  EXPECT_EQ(ComErrorText(ado::ComError(ado::MakeHResult(0x80040201u))), "IDispatch error #1");
  EXPECT_EQ(ComErrorText(ado::ComError(ado::MakeHResult(0x8004FFFFu))), "IDispatch error #65023");
}

TEST(ComErrorText, OtherUnknownCodesShowTheirValue) {
  // The range start itself and codes that wrap to number 0 have no number.
  EXPECT_EQ(ComErrorText(ado::ComError(ado::MakeHResult(0x80040200u))), "Unknown error 0x80040200");
  EXPECT_EQ(ComErrorText(ado::ComError(ado::MakeHResult(0x800401FFu))), "Unknown error 0x800401FF");
  EXPECT_EQ(ComErrorText(ado::ComError(ado::MakeHResult(0x80050000u))), "Unknown error 0x80050000");
  EXPECT_EQ(ComErrorText(ado::ComError(ado::MakeHResult(0x0000002Au))), "Unknown error 0x2A");
}

TEST(OleDbErrorName, CoversTheWholeErrorRange) {
  for (std::uint32_t code = 0x80040E00u; code <= 0x80040E75u; ++code) {
    const std::string name = OleDbErrorName(ado::MakeHResult(code));
    if (code == 0x80040E66u) {
      EXPECT_EQ(name, "");  // unassigned in the header
      continue;
    }
    EXPECT_TRUE(name.rfind("DB_E_", 0) == 0 || name.rfind("DB_SEC_E_", 0) == 0 || name.rfind("MD_E_", 0) == 0 ||
                name.rfind("SEC_E_", 0) == 0)
        << std::hex << code << " " << name;
  }
}

TEST(OleDbErrorName, OtherCodesHaveNoName) {
  EXPECT_EQ(OleDbErrorName(ado::E_FAIL), "");
  EXPECT_EQ(OleDbErrorName(ado::MakeHResult(0x80040E76u)), "");
  EXPECT_EQ(OleDbErrorName(ado::MakeHResult(0x00040EC4u)), "");
  // The whole code must match, not only its low bits.
  EXPECT_EQ(OleDbErrorName(ado::MakeHResult(0x80070E21u)), "");
  EXPECT_EQ(OleDbErrorName(ado::MakeHResult(0x00040E21u)), "");
}
}  // namespace
