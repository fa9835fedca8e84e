#include "app/Tarvel.hpp"

int main() { return RunTarvel(); }
