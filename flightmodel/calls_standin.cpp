#include "flightmodel/calls_standin.h"

std::vector<std::string> flightmodel_standin_calls;
