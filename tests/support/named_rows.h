// Tables of cases as parameterised tests whose rows carry a `name`: each row is a test of its
// own, called by that name, so that a failure says which case it was.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace evo::test {

struct RowName {
  template <typename Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
    return row.param.name;
  }
};

}  // namespace evo::test
