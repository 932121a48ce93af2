// The sample database a new user opens first: a small order-entry
// database of suppliers, products, customers, orders and order lines, with
// the kinds of fields, keys and indexes that the program has to show.
#pragma once

#include <string>

namespace makedb {

// Writes a new sample database (Jet 3) at `path`, which must not exist yet.
// Throws jet::Error.
void makeSampleDatabase(const std::string& path);

}  // namespace makedb
