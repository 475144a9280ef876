// Codes files with the -lh1- encoder of the LHA library for Java (Debian's
// libjlha-java, the library behind jlha-utils), as a peer to measure the LZH
// encoder's output size against.
//
// usage: java -cp /usr/share/java/jlha.jar:DIR Lh1Pack OUTDIR FILE...
// prints "FILE BYTES LH1BYTES" per FILE (LH1BYTES: the raw -lh1- stream) and
// writes OUTDIR/NAME.lzh, an LHA archive of the file by the same library (it
// keeps the -lh1- stream, or stores the file when that is no smaller).
import java.io.IOException;
import java.io.OutputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import jp.gr.java_conf.dangan.util.lha.CompressMethod;
import jp.gr.java_conf.dangan.util.lha.LhaHeader;
import jp.gr.java_conf.dangan.util.lha.LhaOutputStream;
import jp.gr.java_conf.dangan.util.lha.LhaProperty;

public class Lh1Pack {
  private static final class Counter extends OutputStream {
    long bytes;

    @Override
    public void write(int b) {
      ++bytes;
    }

    @Override
    public void write(byte[] b, int off, int len) {
      bytes += len;
    }
  }

  public static void main(String[] args) throws IOException {
    final Path outDir = Paths.get(args[0]);
    for (int i = 1; i < args.length; ++i) {
      final Path file = Paths.get(args[i]);
      final byte[] data = Files.readAllBytes(file);

      final Counter counter = new Counter();
      try (OutputStream encoder = CompressMethod.connectEncoder(counter, CompressMethod.LH1, LhaProperty.getProperties())) {
        encoder.write(data);
      }

      final String name = file.getFileName().toString();
      try (LhaOutputStream archive = new LhaOutputStream(Files.newOutputStream(outDir.resolve(name + ".lzh")))) {
        final LhaHeader header = new LhaHeader(name);
        header.setCompressMethod(CompressMethod.LH1);
        archive.putNextEntry(header);
        archive.write(data);
        archive.closeEntry();
      }
      System.out.println(args[i] + " " + data.length + " " + counter.bytes);
    }
  }
}
