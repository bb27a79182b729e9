#pragma once
// The layers of the map's picture that a change may call for drawing anew.
#include <cstdint>
#include <initializer_list>

enum class MapLayer : uint8_t { Background = 1, Aircraft = 2, SideList = 4, Altitude = 8 };

class MapLayers {
 public:
  constexpr MapLayers() = default;
  constexpr MapLayers(std::initializer_list<MapLayer> layers) {
    for (MapLayer l : layers) bits_ = static_cast<uint8_t>(bits_ | static_cast<uint8_t>(l));
  }
  static constexpr MapLayers All() {
    return {MapLayer::Background, MapLayer::Aircraft, MapLayer::SideList, MapLayer::Altitude};
  }

  constexpr bool Has(MapLayer l) const { return (bits_ & static_cast<uint8_t>(l)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr MapLayers& operator|=(MapLayers other) {
    bits_ = static_cast<uint8_t>(bits_ | other.bits_);
    return *this;
  }
  constexpr bool operator==(MapLayers other) const { return bits_ == other.bits_; }
  constexpr bool operator!=(MapLayers other) const { return bits_ != other.bits_; }

 private:
  uint8_t bits_ = 0;
};
