// A count header that reaches up into the outputs.
#include "report/CsvWriter.h"
