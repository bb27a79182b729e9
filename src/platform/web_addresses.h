#pragma once
// The web pages the program opens. The names are reserved for examples and
// reach nobody: replace them once the real addresses are known.

// The product's pages (the About box).
inline constexpr char kJapaneseSiteUrl[] = "https://skarvel.example/";
inline constexpr char kEnglishSiteUrl[] = "https://skarvel.example/en/";

// The flight-number lookup: the address, then "?F=" and the flight.
inline constexpr char FlightLookupUrl[] = "https://skarvel.example/air/";

// The information window's flight-status and photo-search pages: the
// address, then the page's query.
inline constexpr char kFlightStatusUrl[] = "https://skarvel.example/flight?";
inline constexpr char kPhotoSearchUrl[] = "https://skarvel.example/photo?";
