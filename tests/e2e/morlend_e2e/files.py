"""Source files with known bytes, and the comparisons that tell whether they came back."""

import os
import random


def make_file(path, size, seed=1):
    """A file of `size` bytes that no other seed repeats, so a piece out of place shows."""
    with open(path, 'wb') as file:
        file.write(random.Random(seed).randbytes(size))
    return path


def contents(path):
    with open(path, 'rb') as file:
        return file.read()


def listing(folder):
    return sorted(os.listdir(folder))
