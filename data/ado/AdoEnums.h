#pragma once
// ADO's enumerations, with their published values, as far as the stand-in uses them.

namespace ado {

enum ObjectStateEnum { adStateClosed = 0, adStateOpen = 1, adStateExecuting = 4, adStateFetching = 8 };
// Execute options (ExecuteOptionEnum), combined with a command type. adAsyncFetch: a client
// cursor's rows are read on a worker thread. adAsyncExecute: the statement itself runs on that
// worker too, and Open returns before it has (a client cursor's rows follow on the worker).
inline constexpr long adAsyncExecute = 0x10;
inline constexpr long adAsyncFetch = 0x20;
enum CursorLocationEnum { adUseNone = 1, adUseServer = 2, adUseClient = 3 };
enum CursorTypeEnum {
  adOpenUnspecified = -1,
  adOpenForwardOnly = 0,
  adOpenKeyset = 1,
  adOpenDynamic = 2,
  adOpenStatic = 3
};
enum LockTypeEnum {
  adLockUnspecified = -1,
  adLockReadOnly = 1,
  adLockPessimistic = 2,
  adLockOptimistic = 3,
  adLockBatchOptimistic = 4
};
enum CommandTypeEnum { adCmdUnspecified = -1, adCmdText = 1, adCmdTable = 2, adCmdStoredProc = 4, adCmdUnknown = 8 };
enum ConnectOptionEnum { adConnectUnspecified = -1, adAsyncConnect = 16 };
enum AffectEnum { adAffectCurrent = 1, adAffectGroup = 2, adAffectAll = 3 };
enum EditModeEnum { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2, adEditDelete = 4 };
enum FilterGroupEnum { adFilterNone = 0 };
enum SchemaEnum { adSchemaColumns = 4, adSchemaTables = 20, adSchemaPrimaryKeys = 28 };

enum DataTypeEnum {
  adEmpty = 0,
  adSmallInt = 2,
  adInteger = 3,
  adSingle = 4,
  adDouble = 5,
  adCurrency = 6,
  adDate = 7,
  adBSTR = 8,
  adIDispatch = 9,
  adError = 10,
  adBoolean = 11,
  adVariant = 12,
  adIUnknown = 13,
  adDecimal = 14,
  adTinyInt = 16,
  adUnsignedTinyInt = 17,
  adUnsignedSmallInt = 18,
  adUnsignedInt = 19,
  adBigInt = 20,
  adUnsignedBigInt = 21,
  adFileTime = 64,
  adGUID = 72,
  adBinary = 128,
  adChar = 129,
  adWChar = 130,
  adNumeric = 131,
  adUserDefined = 132,
  adDBDate = 133,
  adDBTime = 134,
  adDBTimeStamp = 135,
  adChapter = 136,
  adPropVariant = 138,
  adVarNumeric = 139,
  adVarChar = 200,
  adLongVarChar = 201,
  adVarWChar = 202,
  adLongVarWChar = 203,
  adVarBinary = 204,
  adLongVarBinary = 205,
  adArray = 0x2000
};

enum FieldAttributeEnum {
  adFldUnspecified = -1,
  adFldMayDefer = 0x2,
  adFldUpdatable = 0x4,
  adFldUnknownUpdatable = 0x8,
  adFldFixed = 0x10,
  adFldIsNullable = 0x20,
  adFldMayBeNull = 0x40,
  adFldLong = 0x80,
  adFldRowID = 0x100,
  adFldRowVersion = 0x200,
  adFldCacheDeferred = 0x1000,
  adFldIsChapter = 0x2000,
  adFldNegativeScale = 0x4000,
  adFldKeyColumn = 0x8000,
  adFldIsRowURL = 0x10000,
  adFldIsDefaultStream = 0x20000,
  adFldIsCollection = 0x40000
};

}  // namespace ado
