#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "dravon/card/card_records.h"

namespace dravon {

// The answers of findShape for a fixed list of shapes, by hashing: the position of the first
// shape with each key. Readers build one after the shapes are complete, so that a card's
// lookups stay linear in its size.
class ShapeIndex {
 public:
  explicit ShapeIndex(const std::vector<CShape>& shapes) {
    first_.reserve(shapes.size());
    for (std::size_t i = 0; i < shapes.size(); ++i) {
      first_.emplace(shapes[i].index, static_cast<int>(i));  // keeps the first of equal keys
    }
  }

  [[nodiscard]] int find(int32_t key) const {
    const auto it = first_.find(key);
    return it == first_.end() ? -1 : it->second;
  }

 private:
  std::unordered_map<int32_t, int> first_;
};

}  // namespace dravon
