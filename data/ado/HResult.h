#pragma once
// HRESULT codes raised by the ADO stand-in, with the values Windows gives them, so that the
// error texts and names of the data layer (ComErrorText, OleDbErrorName) behave as on Windows.
#include <cstdint>

namespace ado {

using HRESULT = std::int32_t;

constexpr HRESULT MakeHResult(std::uint32_t code) {
  return static_cast<HRESULT>(code);
}

// Generic COM codes.
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeHResult(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = MakeHResult(0x80004002u);
inline constexpr HRESULT E_POINTER = MakeHResult(0x80004003u);
inline constexpr HRESULT E_ABORT = MakeHResult(0x80004004u);
inline constexpr HRESULT E_FAIL = MakeHResult(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = MakeHResult(0x8000FFFFu);
inline constexpr HRESULT E_OUTOFMEMORY = MakeHResult(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = MakeHResult(0x80070057u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHResult(0x80040154u);

// Variant conversion codes.
inline constexpr HRESULT DISP_E_BADVARTYPE = MakeHResult(0x80020008u);
inline constexpr HRESULT DISP_E_OVERFLOW = MakeHResult(0x8002000Au);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = MakeHResult(0x80020005u);

// ADO's own errors (facility 0x0A, ErrorValueEnum).
inline constexpr HRESULT adErrInvalidArgument = MakeHResult(0x800A0BB9u);
inline constexpr HRESULT adErrNoCurrentRecord = MakeHResult(0x800A0BCDu);
inline constexpr HRESULT adErrIllegalOperation = MakeHResult(0x800A0C93u);
inline constexpr HRESULT adErrFeatureNotAvailable = MakeHResult(0x800A0CB3u);
inline constexpr HRESULT adErrItemNotFound = MakeHResult(0x800A0CC1u);
inline constexpr HRESULT adErrDataConversion = MakeHResult(0x800A0D5Du);
inline constexpr HRESULT adErrObjectClosed = MakeHResult(0x800A0E78u);
inline constexpr HRESULT adErrObjectOpen = MakeHResult(0x800A0E79u);
inline constexpr HRESULT adErrProviderNotFound = MakeHResult(0x800A0E7Au);
inline constexpr HRESULT adErrInvalidConnection = MakeHResult(0x800A0E7Du);
inline constexpr HRESULT adErrStillExecuting = MakeHResult(0x800A0E7Fu);

// OLE DB codes the providers raise.
inline constexpr HRESULT DB_E_CANTCONVERTVALUE = MakeHResult(0x80040E07u);
inline constexpr HRESULT DB_E_ERRORSINCOMMAND = MakeHResult(0x80040E14u);
inline constexpr HRESULT DB_E_ERRORSOCCURRED = MakeHResult(0x80040E21u);
inline constexpr HRESULT DB_E_INTEGRITYVIOLATION = MakeHResult(0x80040E2Fu);
inline constexpr HRESULT DB_E_NOTABLE = MakeHResult(0x80040E37u);
inline constexpr HRESULT DB_E_CONCURRENCYVIOLATION = MakeHResult(0x80040E38u);
inline constexpr HRESULT DB_E_DATAOVERFLOW = MakeHResult(0x80040E57u);
inline constexpr HRESULT DB_SEC_E_AUTH_FAILED = MakeHResult(0x80040E4Du);

constexpr bool Succeeded(HRESULT hr) {
  return hr >= 0;
}
constexpr bool Failed(HRESULT hr) {
  return hr < 0;
}

}  // namespace ado
