// The one error type the engines throw. Callers catch it where the program reports a failure
// in its own words ("Error in Search.", "Rep File Error.", ...) and show what() where useful.
#pragma once

#include <stdexcept>
#include <string>

namespace lodestar {

class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace lodestar
