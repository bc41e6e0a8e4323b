#pragma once
// Files that travel with the program (the help page): looked up beside the executable first,
// then in the installed share folder (<prefix>/share/qelvo), then in the user's data folder.
#include <string>

// The full path of the file, or empty when none of the places has it.
std::string FindProgramFile(const std::string& name);

// Where the program writes a file of its own that belongs "beside the executable": the
// executable's folder when it is writable, else the user's data folder (created on demand).
std::string ProgramFileForWriting(const std::string& name);
