#!/usr/bin/perl
# Prints every item of an .ntx index file in index order, one
# "key<TAB>record number" per line, as XBase::Index (libdbd-xbase-perl), a
# reader written independently of ours, sees them.
#
# usage: ntx_dump.pl FILE.ntx
use strict;
use warnings;
use XBase::Index;

my $file = shift @ARGV or die "usage: ntx_dump.pl FILE.ntx\n";
# Our keys are text (STR() and DTOS() give characters), so say so: the
# reader cannot tell from the index file alone.
my $index = XBase::Index->new($file, 'type' => 'C')
  or die "ntx_dump.pl: cannot read $file: " . (XBase::Index->errstr // 'unknown error') . "\n";
$index->prepare_select or die "ntx_dump.pl: cannot walk $file\n";
binmode STDOUT;
while (my ($key, $recno) = $index->fetch) {
  print "$key\t$recno\n";
}
