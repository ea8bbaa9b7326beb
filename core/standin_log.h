// The call log of the stand-ins: each subsystem's not-yet-built routines keep
// a list of the calls they received, written as "NAME(arg,arg)", for tests to
// read and clear.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// A list of stand-in calls that keeps only the most recent ones: stand-ins
// called every frame (the plane step, the screens, the origin re-centring)
// would otherwise make it grow for as long as the program runs.
class standin_call_log : public std::vector<std::string> {
public:
    static constexpr std::size_t LIMIT = 100000;   // past it the older half is dropped

    using std::vector<std::string>::vector;
    using std::vector<std::string>::operator=;

    void push_back(std::string call)
    {
        if (size() >= LIMIT) erase(begin(), begin() + static_cast<std::ptrdiff_t>(LIMIT / 2));
        std::vector<std::string>::push_back(std::move(call));
    }
};
