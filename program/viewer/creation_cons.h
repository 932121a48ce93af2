// The text of the database properties box of frmCreationCons.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace viewer {

// The engine constant's name and the language lines of a collating order;
// nullopt for an order the box does not name.
struct CollatingOrderText {
    std::string code;
    std::vector<std::string> languages;
};
std::optional<CollatingOrderText> collatingOrderText(int collatingOrder);

// The properties as far as they could be read; a property that could not be
// read leaves its part of the text out.
struct DatabaseProperties {
    std::optional<int> collatingOrder;
    std::optional<bool> transactions;
    std::optional<bool> updatable;
};

// The box's text, lines joined by CR LF.
std::string databasePropertiesText(const DatabaseProperties& properties);

}  // namespace viewer
