#!/usr/bin/env bash
# Checks the test reader of .properties files (tests/support/properties_reader.*) against Java:
# reads the files of tests/data and a set of generated files with Properties.load and with
# PropertyResourceBundle (UTF-8), and with the reader, and compares what both make of them.
# Not part of the test suite; needs javac and java (17 or later) and a configured build folder.
# Usage: tools/check_properties_reader.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target properties_dump >/dev/null
dump=$build/tests/support/properties_dump

cat >"$work/DumpProperties.java" <<'JAVA'
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.Map;
import java.util.Properties;
import java.util.PropertyResourceBundle;
import java.util.TreeMap;

public class DumpProperties {
  private static String describe(String text) {
    StringBuilder out = new StringBuilder();
    for (char c : text.toCharArray()) {
      if (c >= 0x20 && c < 0x7F && c != '\\' && c != '=') out.append(c);
      else out.append(String.format("\\u%04X", (int) c));
    }
    return out.toString();
  }

  public static void main(String[] args) throws Exception {
    boolean utf8 = args[0].equals("-utf8");
    for (int i = utf8 ? 1 : 0; i < args.length; ++i) {
      System.out.println("== " + args[i]);
      Map<String, String> sorted = new TreeMap<>();
      try (InputStream in = Files.newInputStream(Paths.get(args[i]))) {
        if (utf8) {
          PropertyResourceBundle bundle = new PropertyResourceBundle(in);
          for (String key : bundle.keySet()) sorted.put(key, bundle.getString(key));
        } else {
          Properties properties = new Properties();
          properties.load(in);
          for (String key : properties.stringPropertyNames()) sorted.put(key, properties.getProperty(key));
        }
      } catch (IllegalArgumentException e) {
        System.out.println("error: " + e.getMessage());
        continue;
      }
      for (Map.Entry<String, String> entry : sorted.entrySet()) {
        System.out.println(describe(entry.getKey()) + "=" + describe(entry.getValue()));
      }
    }
  }
}
JAVA
javac -d "$work" "$work/DumpProperties.java"

# Generated files: random mixes of the pieces whose reading is easy to get wrong, and a few bytes
# of 0x80 and above (raw UTF-8, raw Latin-1, broken UTF-8).
mkdir "$work/generated"
python3 - "$work/generated" <<'PY'
import random, sys
pieces = ["a", "key", " ", "\t", "\f", "=", ":", "#", "!", "\\", "\\\\", "\\ ", "\\=", "\\:", "\\#",
          "\\t", "\\n", "\\r", "\\f", "\\x", "\\u0041", "\\u0020", "\\u003d", "\\u005c", "\\u000a",
          "\\u00E9", "\\u65e5", "\\uD83D\\uDE00", "\\u12", "\\uXYZW", "\n", "\r\n", "\r", "\\\n",
          "\\\r\n", "\\\n   ", "\n# c\\\n", "\n! c\n", "\n\n", "\u00e9", "\u65e5", "\U0001F600"]
rng = random.Random(20261207)
for n in range(300):
    text = "".join(rng.choice(pieces) for _ in range(rng.randint(1, 40)))
    data = text.encode("utf-8") if n % 3 else text.encode("latin-1", "replace")
    if n % 10 == 0:
        data += b"\xff\xfe"
    open(f"{sys.argv[1]}/{n:03}.properties", "wb").write(data)
PY

files=(tests/data/*.properties "$work"/generated/*.properties)
status=0
for mode in latin1 utf8; do
  flag=()
  [[ $mode == utf8 ]] && flag=(-utf8)
  java -cp "$work" DumpProperties "${flag[@]}" "${files[@]}" >"$work/java-$mode.txt"
  "$dump" "${flag[@]}" "${files[@]}" >"$work/reader-$mode.txt"
  if diff -u "$work/java-$mode.txt" "$work/reader-$mode.txt" >"$work/diff-$mode.txt"; then
    echo "$mode: ${#files[@]} files, $(grep -c '^error' "$work/java-$mode.txt") with a malformed escape, all read alike"
  else
    echo "$mode: the reader differs from Java:"
    head -50 "$work/diff-$mode.txt"
    status=1
  fi
done
exit $status
