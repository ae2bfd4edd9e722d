// The planting test's control: loads each named DLL the careless way, by bare name, so
// the test knows that a planted copy would be found and would leave its mark.
#include <windows.h>

int main(int argc, char** argv) {
  int loaded = 0;
  for (int i = 1; i < argc; ++i) loaded += LoadLibraryA(argv[i]) != nullptr;
  return loaded;
}
