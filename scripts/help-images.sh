#!/usr/bin/env bash
# help-images.sh BUILD_DIR: takes fresh screenshots of the program built in
# BUILD_DIR and copies the ones the help book shows into docs/help/images, so
# that the book's pictures always come from the program and never by hand.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")/.." && pwd)
images=$here/docs/help/images
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
"$here/scripts/screenshots.sh" "$build" "$shots"
pictures=(split-page tag-editor-dialog equal-parts-dialog split-complete-dialog merge-page
  merge-validate-dialog settings-page settings-dialog)
mkdir -p "$images"
for picture in "${pictures[@]}"; do
  cp "$shots/$picture.png" "$images/$picture.png"
done
# A picture the book no longer lists would linger unseen: the book check fails on it.
for file in "$images"/*.png; do
  name=$(basename "$file" .png)
  [[ " ${pictures[*]} " == *" $name "* ]] || echo "help-images: $file is not one of the book's pictures" >&2
done
echo "help-images: ${#pictures[@]} pictures in $images"
