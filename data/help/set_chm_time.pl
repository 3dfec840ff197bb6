#!/usr/bin/perl
# Sets the two compile times that chmcmd writes into an HTML Help file to a given moment, so the
# same topics always compile to the same bytes:
#   perl set_chm_time.pl <file.chm> <seconds since 1970>
# chmcmd takes both from the clock it runs at, as milliseconds since midnight: one in the file
# header (big-endian), one as entry 10 of the internal #SYSTEM file (little-endian). Both become
# the given moment's milliseconds since midnight, UTC. Anything in the file that does not look as
# expected stops the script, so a changed compiler is noticed instead of left half-patched.
use strict;
use warnings;

@ARGV == 2 && $ARGV[1] =~ /^\d+$/ or die "usage: set_chm_time.pl <file.chm> <seconds since 1970>\n";
my ($path, $epoch) = @ARGV;
my $millis = ($epoch % 86400) * 1000;

open(my $in, '<:raw', $path) or die "$path: $!\n";
my $data = do { local $/; <$in> };
close($in);

sub fail { die "set_chm_time.pl: $path: @_\n" }
sub need {
    my ($offset, $length) = @_;
    fail("cut short") if $offset < 0 || $offset + $length > length($data);
}

# The header: version 3, the directory's place and the start of the uncompressed section.
need(0, 0x60);
fail("not an HTML Help file (version 3)")
    unless substr($data, 0, 4) eq 'ITSF' && unpack('V', substr($data, 4, 4)) == 3;
my ($directory, $content) = unpack('Q< x8 Q<', substr($data, 0x48, 24));
substr($data, 0x10, 4) = pack('N', $millis);

# The directory: listing chunks (PMGL) chained from the first one, each entry a name and its
# section, offset and length, the numbers in the format's variable-length encoding.
need($directory, 0x54);
fail("no directory header") unless substr($data, $directory, 4) eq 'ITSP';
my ($header_length, $chunk_size) = unpack('x8 V x4 V', substr($data, $directory, 0x14));
my $first_chunk = unpack('V', substr($data, $directory + 0x20, 4));
my $chunks = $directory + $header_length;

sub number {
    my ($position) = @_;
    my $value = 0;
    while (1) {
        need($$position, 1);
        my $byte = ord(substr($data, $$position++, 1));
        $value = ($value << 7) | ($byte & 0x7f);
        return $value unless $byte & 0x80;
    }
}

my $system;  # offset and length of #SYSTEM in the uncompressed section
my %seen;
for (my $chunk = $first_chunk; $chunk != 0xffffffff && !defined $system;) {
    fail("directory chunks loop") if $seen{$chunk}++;
    my $start = $chunks + $chunk * $chunk_size;
    need($start, $chunk_size);
    fail("directory chunk $chunk is not a listing") unless substr($data, $start, 4) eq 'PMGL';
    my ($free, $next) = unpack('V x8 V', substr($data, $start + 4, 16));
    my $position = $start + 0x14;
    my $end = $start + $chunk_size - $free;
    while ($position < $end) {
        my $name_length = number(\$position);
        need($position, $name_length);
        my $name = substr($data, $position, $name_length);
        $position += $name_length;
        my ($section, $offset, $length) = map { number(\$position) } 1 .. 3;
        if ($name eq '/#SYSTEM') {
            fail("#SYSTEM is compressed") unless $section == 0;
            $system = [$offset, $length];
            last;
        }
    }
    $chunk = $next;
}
fail("no #SYSTEM") unless defined $system;

# #SYSTEM: a version, then entries of a 16-bit code, a 16-bit length and the data.
my ($position, $end) = ($content + $system->[0], $content + $system->[0] + $system->[1]);
need($position, $system->[1]);
$position += 4;
my $patched = 0;
while ($position + 4 <= $end) {
    my ($code, $length) = unpack('v v', substr($data, $position, 4));
    $position += 4;
    fail("#SYSTEM entry $code runs past its end") if $position + $length > $end;
    if ($code == 10) {
        fail("#SYSTEM time is $length bytes, not 4") unless $length == 4;
        substr($data, $position, 4) = pack('V', $millis);
        $patched++;
    }
    $position += $length;
}
fail("no time in #SYSTEM") unless $patched == 1;

open(my $out, '>:raw', "$path.part") or die "$path.part: $!\n";
print $out $data or die "$path.part: $!\n";
close($out) or die "$path.part: $!\n";
rename("$path.part", $path) or die "$path: $!\n";
