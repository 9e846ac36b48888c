# Writes the schema file into a header as a raw string literal.
file(READ "${IN}" content)
string(FIND "${content}" ")tvsql\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "schema.sql must not contain the delimiter )tvsql\"")
endif()
file(WRITE "${OUT}.tmp" "#pragma once\n// Generated from schema.sql; do not edit.\ninline constexpr char kSchemaSql[] = R\"tvsql(${content})tvsql\";\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
