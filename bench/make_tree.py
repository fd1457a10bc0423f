#!/usr/bin/env python3
"""Builds a deterministic benchmark tree: FOLDERS folders nested ten to a
parent below TARGET, and FILES small files spread over them in turn.

usage: make_tree.py TARGET FILES FOLDERS   (TARGET is replaced when present)
"""
import os
import shutil
import sys


def folder_paths(target, count):
    paths = []
    for k in range(count):
        parent = target if k == 0 else paths[(k - 1) // 10]
        paths.append(os.path.join(parent, "d%04d" % k))
    return paths


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    target, files, folders = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    if folders < 1 or files < 0:
        sys.exit("need at least one folder and no negative file count")
    if os.path.exists(target):
        shutil.rmtree(target)
    os.makedirs(target)
    paths = folder_paths(target, folders)
    for path in paths:
        os.mkdir(path)
    for j in range(files):
        name = os.path.join(paths[j % folders], "f%06d.txt" % j)
        fd = os.open(name, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o644)
        os.write(fd, (b"%d\n" % j) * (1 + j % 7))
        os.close(fd)


if __name__ == "__main__":
    main()
