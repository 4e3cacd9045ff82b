// The programs where no gesture answers (the Exclude setting): the matching of their names, and
// the question put to the window in front.
#pragma once

// Whether the file name of `program_path` is one of the names that `list` separates by ';'.
// Spaces around a name do not count; ASCII letters compare without regard to case, the
// characters of two bytes (Shift-JIS) as they are, so that no second byte is taken for a letter
// or a folder's '\\'.
bool IsProgramListed(const char *list, const char *program_path);

// True, with a trace line once per window in front, when the window in front belongs to a
// program of the Exclude setting. The program's name is read once per window in front, and only
// when a gesture asks; a program whose name cannot be read is not excluded.
bool IsListedProgramInFront();
