#!/usr/bin/env python3
"""python3 msi-summary.py PACKAGE.msi PACKAGE-CODE EPOCH

Sets what wixl leaves to chance in a package's summary information: its
package code, which it draws at random whatever the source says, and its
creation and last-saved times, which it takes from the clock. wixl writes
them together, in that order, each value its fixed length, so they are
replaced in place; a package in which they are not found exactly once is
refused rather than guessed at. The package is written aside and renamed
over the old one, so that an interrupted build never leaves half of one."""
import os
import re
import struct
import sys

path, code, epoch = sys.argv[1], sys.argv[2].upper(), int(sys.argv[3])
pattern = re.compile(rb'\x1e\0\0\0\x27\0\0\0\{[0-9A-F-]{36}\}\0\0\x40\0\0\0.{8}\x40\0\0\0.{8}\x03\0\0\0', re.S)
data = open(path, 'rb').read()
found = pattern.findall(data)
if len(found) != 1 or not re.fullmatch(r'[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}', code):
    sys.exit(f'{path}: {len(found)} summaries where one was expected, or a bad code {code}')
filetime = struct.pack('<Q', (epoch + 11644473600) * 10000000)  # 100 ns steps since 1601
summary = b'\x1e\0\0\0\x27\0\0\0{' + code.encode() + b'}\0\0' + (b'\x40\0\0\0' + filetime) * 2 + b'\x03\0\0\0'
with open(path + '.new', 'wb') as new:
    new.write(data.replace(found[0], summary))
os.replace(path + '.new', path)
