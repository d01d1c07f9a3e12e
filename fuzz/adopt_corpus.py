#!/usr/bin/env python3
"""Replaces corpus/<target>/ by a folder that libFuzzer's -merge=1 wrote.

Usage: adopt_corpus.py TARGET MERGED_FOLDER

Merged files keep libFuzzer's names (the SHA-1 of their bytes), except that a file holding the
same bytes as a file of the old corpus keeps that file's name (the hand-made seed-* inputs and
the inputs of fixed faults stay recognisable).
"""
import hashlib
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha1(f.read()).hexdigest()


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    target, merged = sys.argv[1], sys.argv[2]
    corpus = os.path.join(HERE, "corpus", target)
    old_names = {}
    if os.path.isdir(corpus):
        for name in sorted(os.listdir(corpus)):
            old_names.setdefault(digest(os.path.join(corpus, name)), name)
        shutil.rmtree(corpus)
    os.makedirs(corpus)
    for name in sorted(os.listdir(merged)):
        source = os.path.join(merged, name)
        key = digest(source)
        shutil.copyfile(source, os.path.join(corpus, old_names.get(key, key)))
    print("%s: %d inputs" % (target, len(os.listdir(corpus))))


if __name__ == "__main__":
    main()
