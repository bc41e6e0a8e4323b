// The message table standing in for the system's: one English text for each code the ADO
// stand-in raises, worded as the user should read it.
#include "data/ado/ComError.h"

namespace ado {

std::string SystemMessageText(HRESULT hr) {
  switch (hr) {
    case S_OK:
      return "The operation completed successfully.";
    case S_FALSE:
      return "The operation completed with a negative answer.";
    case E_NOTIMPL:
      return "Not implemented";
    case E_NOINTERFACE:
      return "No such interface supported";
    case E_POINTER:
      return "Invalid pointer";
    case E_ABORT:
      return "Operation aborted";
    case E_FAIL:
      return "Unspecified error";
    case E_UNEXPECTED:
      return "Catastrophic failure";
    case E_OUTOFMEMORY:
      return "Not enough memory is available to complete this operation.";
    case E_INVALIDARG:
      return "The parameter is incorrect.";
    case REGDB_E_CLASSNOTREG:
      return "Class not registered";
    case DISP_E_BADVARTYPE:
      return "Bad variable type.";
    case DISP_E_OVERFLOW:
      return "Out of present range.";
    case DISP_E_TYPEMISMATCH:
      return "Type mismatch.";
    case adErrInvalidArgument:
      return "Arguments are of the wrong type, are out of acceptable range, or are in conflict with one another.";
    case adErrNoCurrentRecord:
      return "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a "
             "current record.";
    case adErrIllegalOperation:
      return "Operation is not allowed in this context.";
    case adErrFeatureNotAvailable:
      return "Object or provider is not capable of performing requested operation.";
    case adErrItemNotFound:
      return "Item cannot be found in the collection corresponding to the requested name or ordinal.";
    case adErrDataConversion:
      return "Application uses a value of the wrong type for the current operation.";
    case adErrObjectClosed:
      return "Operation is not allowed when the object is closed.";
    case adErrObjectOpen:
      return "Operation is not allowed when the object is open.";
    case adErrStillExecuting:
      return "Operation cannot be performed while executing asynchronously.";
    case adErrProviderNotFound:
      return "Provider cannot be found. It may not be properly installed.";
    case adErrInvalidConnection:
      return "The connection cannot be used to perform this operation. It is either closed or invalid in this "
             "context.";
    case DB_E_CANTCONVERTVALUE:
      return "A value could not be converted to the type of its column for a reason other than overflow.";
    case DB_E_ERRORSINCOMMAND:
      return "The command contained one or more errors.";
    case DB_E_ERRORSOCCURRED:
      return "Multiple-step operation generated errors. Check each status value.";
    case DB_E_INTEGRITYVIOLATION:
      return "A value violated the integrity constraints for a column or table.";
    case DB_E_NOTABLE:
      return "The specified table does not exist.";
    case DB_E_CONCURRENCYVIOLATION:
      return "Row cannot be located for updating. Some values may have been changed since it was last read.";
    case DB_E_DATAOVERFLOW:
      return "A value overflowed the range of the type of its column.";
    case DB_SEC_E_AUTH_FAILED:
      return "Authentication failed.";
    default:
      return {};
  }
}

}  // namespace ado
