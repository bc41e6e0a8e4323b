#pragma once
// The column kind (GridColumnType) that shows values of an ADO data type code.
#include "grid/GridColumnDef.h"

// Texts, characters and binary data: gctText; exact integers: gctInteger; floating, currency and
// decimal numbers: gctNumericEx; booleans and adTinyInt: gctCheckbox; dates and times: gctDate;
// every other code (adLongVarBinary and adArray among them): gctUnknown.
GridColumnType DataTypeToColumnType(int adoType);
