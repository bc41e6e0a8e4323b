#pragma once
// The type groups by which the script generators turn a column's values into literals, decided by
// the ADO data type code of the column. The groups do not overlap; adCurrency belongs to none.
bool IsStringType(int adoType);   // adBSTR, adChar, adVarChar, adLongVarChar, adWChar, adVarWChar, adLongVarWChar
bool IsDateType(int adoType);     // adDate, adDBDate, adDBTime, adDBTimeStamp
bool IsBooleanType(int adoType);  // adBoolean
// adTinyInt .. adUnsignedBigInt, adSingle, adDouble, adDecimal, adNumeric, adVarNumeric
bool IsNumericType(int adoType);
bool IsBinaryType(int adoType);  // adBinary, adVarBinary, adLongVarBinary
