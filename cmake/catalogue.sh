#!/usr/bin/env bash
# catalogue.sh PO NAME OUT: the game's texts of a gettext catalogue, those with
# a context (the key the layout knows them by), written to OUT as the C++
# table NAME of (key, text) pairs; the template's texts (msgen) are English.
set -eo pipefail
mkdir -p "$(dirname "$3")"
{
    printf '// Made from %s by cmake/catalogue.sh.\n#pragma once\n#include <string_view>\n#include <utility>\n' "$1"
    printf 'namespace morvik::catalogue {\ninline constexpr std::pair<std::string_view, std::string_view> %s[] = {\n' "$2"
    msgen "$1" | msgexec sh -c '[ -z "${MSGEXEC_MSGCTXT+set}" ] || printf "    {\"%s\", R\"(%s)\"},\n" "$MSGEXEC_MSGCTXT" "$(cat)"'
    printf '};\n}\n'
} >"$3"
