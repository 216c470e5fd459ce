#include "plexaro/board/board_tables.h"

#include <gtest/gtest.h>

#include <memory>

namespace plexaro {
namespace {

TEST(NetName, OutsideTheLoadedNetsIsEmpty) {
  auto tables = std::make_unique<BoardTables>();
  tables->netCount = 1;
  tables->nets[1].name.assign("GND");
  EXPECT_EQ(netName(*tables, 1), "GND");
  EXPECT_EQ(netName(*tables, 0), "");
  EXPECT_EQ(netName(*tables, 2), "");
  EXPECT_EQ(netName(*tables, -7), "");
}

}  // namespace
}  // namespace plexaro
