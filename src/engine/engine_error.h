#pragma once

#include <stdexcept>

namespace evo {

// A command of the simulation that cannot go on; what() is the message for the user. Nothing
// the command would have changed has been changed, unless its documentation says otherwise.
class EngineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace evo
