// generate_route LENGTH DIR: writes Generated_linea.txt and Generated_1-.txt for a route of
// LENGTH metres into DIR.
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "bench/route_generator.hpp"
#include "format/file_io.hpp"
#include "format/file_set.hpp"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: generate_route LENGTH DIR\n";
    return 2;
  }
  const auto sources = scenario::bench::generate_route(std::atoi(argv[1]));
  const std::filesystem::path folder = argv[2];
  scenario::replace_file(folder / "Generated_linea.txt", sources.line);
  scenario::replace_file(folder / "Generated_1-.txt", sources.service);
  return 0;
}
