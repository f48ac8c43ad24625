// Prints what the test reader of .properties files makes of each file named, in the form that
// tools/check_properties_reader.sh compares with Java's own reading.
//   properties_dump [-utf8] FILE...
#include <cstdio>
#include <string>

#include "support/properties_reader.h"
#include "support/temp_dir.h"

int main(int argc, char** argv) {
  using namespace propdesk::test;
  int first = 1;
  PropertiesEncoding encoding = PropertiesEncoding::Latin1;
  if (argc > 1 && std::string(argv[1]) == "-utf8") {
    encoding = PropertiesEncoding::Utf8;
    ++first;
  }
  for (int i = first; i < argc; ++i) {
    std::printf("== %s\n%s", argv[i], Describe(ReadProperties(ReadFileBytes(argv[i]), encoding)).c_str());
  }
  return 0;
}
