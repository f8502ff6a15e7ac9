// Includes that point down, as they should.
#include "counting/CountTable.h"
#include "report/CsvWriter.h"
#include "text/ShiftJis.h"
#include "xlsxwriter.h"
