#!/usr/bin/env python3
"""A second reader of key map files, written apart from the library's parser, so that the tests can
check that what the library writes is what any reader of the format gets back.

Prints the header, then one line per mapping: modifiers, key name, action and its arguments,
separated by tabs, each argument as the hexadecimal digits of its UTF-8 bytes."""
import re
import sys


def read(path):
    data = open(path, 'rb').read()
    if not data.startswith(b'\xef\xbb\xbf'):
        raise SystemExit('no UTF-8 byte-order mark')
    if b'\n' in data.replace(b'\r\n', b''):
        raise SystemExit('a line does not end with CR LF')
    text = data[3:].decode('utf-8')
    lines = text.split('\r\n')
    if lines[-1] != '':
        raise SystemExit('the last line does not end with CR LF')
    lines = lines[:-1]
    header = None
    if lines and 'Version = ' in lines[0]:
        header = lines.pop(0)
    out = []
    for line in lines:
        if line == '' or line.startswith(';'):
            continue
        fields = line.split('\t')
        if len(fields) != 3:
            raise SystemExit('not three tab-separated fields: %r' % line)
        mods, key, action = fields
        if len(key) < 20 or (len(key) > 20 and key.endswith(' ')):
            raise SystemExit('key field not padded to 20: %r' % key)
        key = key.rstrip(' ')
        args = []
        if action.startswith('"') and action.endswith('"') and len(action) >= 2:
            name, args = 'SEND', [action[1:-1]]
        elif (m := re.fullmatch(r'RUN\("(.*?)"\)\("(.*)"\)', action)):
            name, args = 'RUN', [m.group(1), m.group(2)]
        elif (m := re.fullmatch(r'(LAUNCH|SET_BUTTONBAR)\("(.*)"\)', action)):
            name, args = m.group(1), [m.group(2)]
        elif re.fullmatch(r'[A-Z0-9_]+', action):
            name = action
        else:
            raise SystemExit('action not understood: %r' % action)
        if any(ord(c) < 0x20 or ord(c) == 0x7f for a in args for c in a):
            raise SystemExit('control character in an argument: %r' % line)
        out.append({'mods': mods, 'key': key, 'action': name, 'args': args})
    return {'header': header, 'lines': out}


if __name__ == '__main__':
    result = read(sys.argv[1])
    print('header\t' + (result['header'] or '').encode('utf-8').hex())
    for m in result['lines']:
        print('\t'.join([m['mods'], m['key'], m['action']] + [a.encode('utf-8').hex() for a in m['args']]))
