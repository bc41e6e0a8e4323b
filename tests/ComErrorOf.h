#pragma once
// The code of the ComError a statement raises, for tests that expect one particular failure:
//
//   EXPECT_COM_ERROR(rs->MoveNext(), adErrNoCurrentRecord);
//
// fails when the statement returns normally or raises a ComError with another HRESULT; any other
// exception fails the test as an unexpected one.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "data/ado/ComError.h"

// The HRESULT of the ComError `work` raises; S_OK when it returns normally.
template <class Work>
ado::HRESULT ComErrorOf(Work&& work) {
  try {
    work();
  } catch (const ado::ComError& e) {
    return e.Error();
  }
  return ado::S_OK;
}

inline std::string HResultHex(ado::HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(static_cast<std::uint32_t>(hr)));
  return text;
}

#define EXPECT_COM_ERROR(statement, hr) \
  EXPECT_EQ(HResultHex(ComErrorOf([&] { statement; })), HResultHex(hr)) << #statement
