// Built only by the CoreRejectsQtIncludes test, which expects this to fail.
#include <QString>

int main() { return QString().size(); }
